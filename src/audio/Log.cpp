#include "audio/Log.h"

Q_LOGGING_CATEGORY(lcAudio, "tunevane.audio", QtCriticalMsg)
