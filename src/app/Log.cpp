#include "app/Log.h"

Q_LOGGING_CATEGORY(lcUi, "tunevane.ui", QtCriticalMsg)
