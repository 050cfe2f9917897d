#pragma once

#include <QList>
#include <QString>
#include <QStringList>

struct sqlite3;

namespace tunevane::games {

// A launcher's SQLite database, opened as a file no one writes: it takes no lock and waits on
// none, so a launcher that holds one cannot hold the search, and nothing is ever written.
class Database {
public:
    // Closed (logged) when the file is missing, oversized or not a database.
    Database(const QString& path, const char* what);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    bool isOpen() const { return m_db != nullptr; }
    // Each row's first `columns` columns as text; nothing (logged) when the query fails, as it
    // does where a launcher's version lays its tables out otherwise.
    std::optional<QList<QStringList>> rows(const char* query, int columns) const;

private:
    sqlite3* m_db = nullptr;
    QString m_path;
    const char* m_what;
};

} // namespace tunevane::games
