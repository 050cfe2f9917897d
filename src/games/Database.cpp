#include "games/Database.h"

#include "files/Path.h"
#include "games/Disk.h"
#include "games/Log.h"

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

} // namespace

Database::Database(const QString& path, const char* what) : m_path(path), m_what(what) {
    struct stat info {};
    if (::stat(files::encodePath(path).constData(), &info) != 0)
        return;
    if (!S_ISREG(info.st_mode) || info.st_size > launcherFileMaxBytes) {
        qCWarning(lcGames, "%s %s is not a file of at most %lld bytes: left out", what,
                  shown(path).constData(), static_cast<long long>(launcherFileMaxBytes));
        return;
    }
    const int opened = sqlite3_open_v2(uriOf(path).constData(), &m_db,
                                       SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr);
    if (opened != SQLITE_OK) {
        qCWarning(lcGames, "%s %s cannot be opened: %s", what, shown(path).constData(),
                  m_db ? sqlite3_errmsg(m_db) : sqlite3_errstr(opened));
        sqlite3_close(m_db);
        m_db = nullptr;
        return;
    }
    // Another program's file: its schema runs no functions of ours, and it cannot be edited
    // through us.
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
}

Database::~Database() {
    sqlite3_close(m_db);
}

std::optional<QList<QStringList>> Database::rows(const char* query, int columns) const {
    if (!m_db)
        return std::nullopt;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(m_db, query, -1, &statement, nullptr) != SQLITE_OK) {
        qCWarning(lcGames, "%s %s cannot be read: %s", m_what, shown(m_path).constData(),
                  sqlite3_errmsg(m_db));
        return std::nullopt;
    }
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
        qCWarning(lcGames, "%s %s cannot be read: %s", m_what, shown(m_path).constData(),
                  sqlite3_errmsg(m_db));
        sqlite3_finalize(statement);
        return std::nullopt;
    }
    sqlite3_finalize(statement);
    return found;
}

} // namespace tunevane::games
