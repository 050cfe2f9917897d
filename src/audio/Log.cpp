// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "audio/Log.h"

Q_LOGGING_CATEGORY(lcAudio, "tunevane.audio", QtCriticalMsg)
