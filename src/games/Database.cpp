// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "games/Database.h"

#include "files/Path.h"
#include "games/Disk.h"

#include <cerrno>
#include <sqlite3.h>
#include <sys/stat.h>

namespace tunevane::games {

namespace {

// Rows past this are another program's runaway table, not a library.
constexpr int maxRows = 100'000;

QByteArray uriOf(const QString& path) {
    QByteArray uri("file:");
    for (const char byte : files::encodePath(path)) {
        if (QByteArrayView("/-._~").contains(byte) || (byte >= '0' && byte <= '9') ||
            (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z'))
            uri.append(byte);
        else
            uri.append('%').append(QByteArray::number(quint8(byte), 16).rightJustified(2, '0'));
    }
    return uri + "?mode=ro&immutable=1";
}

// What SQLite answered, or the system's error number where a call of its own failed.
ReadError failure(sqlite3* db, int code) {
    const int primary = code & 0xff;
    const int error = db ? sqlite3_system_errno(db) : 0;
    if (error != 0 && (primary == SQLITE_CANTOPEN || primary == SQLITE_IOERR))
        return ReadError::system(error);
    return ReadError::damaged(db ? sqlite3_errmsg(db) : sqlite3_errstr(code));
}

} // namespace

Result<Database> Database::open(const QString& path, const char* what) {
    struct stat info {};
    if (::stat(files::encodePath(path).constData(), &info) != 0)
        return leftOut(what, path, ReadError::system(errno));
    if (!S_ISREG(info.st_mode))
        return leftOut(what, path, ReadError::notRegular());
    if (info.st_size > launcherFileMaxBytes)
        return leftOut(what, path, ReadError::tooLarge(launcherFileMaxBytes));
    sqlite3* db = nullptr;
    const int opened = sqlite3_open_v2(uriOf(path).constData(), &db,
                                       SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr);
    if (opened != SQLITE_OK) {
        const ReadError why = failure(db, opened);
        sqlite3_close(db);
        return leftOut(what, path, why);
    }
    // Another program's file: its schema runs no functions of ours, and it cannot be edited
    // through us.
    sqlite3_db_config(db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    return Database(db, path, what);
}

Database::~Database() {
    sqlite3_close(m_db);
}

Result<QList<QStringList>> Database::rows(const char* query, int columns) const {
    sqlite3_stmt* statement = nullptr;
    if (const int prepared = sqlite3_prepare_v2(m_db, query, -1, &statement, nullptr);
        prepared != SQLITE_OK)
        return leftOut(m_what, m_path, failure(m_db, prepared));
    QList<QStringList> found;
    int step = SQLITE_ROW;
    while (found.size() < maxRows && (step = sqlite3_step(statement)) == SQLITE_ROW) {
        QStringList row;
        for (int column = 0; column < columns; ++column) {
            const auto* text = sqlite3_column_text(statement, column);
            row.append(text ? QString::fromUtf8(reinterpret_cast<const char*>(text),
                                                sqlite3_column_bytes(statement, column))
                            : QString());
        }
        found.append(row);
    }
    if (step != SQLITE_ROW && step != SQLITE_DONE) {
        const ReadError why = failure(m_db, step);
        sqlite3_finalize(statement);
        return leftOut(m_what, m_path, why);
    }
    sqlite3_finalize(statement);
    return found;
}

} // namespace tunevane::games
