#include "files/Log.h"

Q_LOGGING_CATEGORY(lcFiles, "tunevane.files", QtCriticalMsg)
