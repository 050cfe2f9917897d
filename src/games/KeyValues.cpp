#include "games/KeyValues.h"

#include "files/Fd.h"
#include "files/Path.h"

#include <QByteArray>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tunevane::games {

using namespace files;

namespace {

class Parser {
public:
    explicit Parser(QByteArrayView text) : m_text(text) {
        if (m_text.startsWith("\xEF\xBB\xBF"))
            m_at = 3;
    }

    // Entries up to the brace that closes this block, or up to the end at the top.
    bool readBlock(KeyValue& block, int depth) {
        for (;;) {
            QByteArray key;
            switch (next(key)) {
            case Token::End:
                return depth == 0;
            case Token::Close:
                return depth > 0;
            case Token::Open:
            case Token::Error:
                return false;
            case Token::String:
                break;
            }
            if (++m_entries > keyValuesMaxEntries)
                return false;
            KeyValue entry;
            entry.key = decodeName(key);
            QByteArray value;
            switch (next(value)) {
            case Token::String:
                entry.value = decodeName(value);
                break;
            case Token::Open:
                entry.isBlock = true;
                if (depth + 1 > keyValuesMaxDepth || !readBlock(entry, depth + 1))
                    return false;
                break;
            default:
                return false;
            }
            block.children.push_back(std::move(entry));
        }
    }

private:
    enum class Token { End, Open, Close, String, Error };

    static bool isSpace(char c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
    }

    void skipSpaceAndComments() {
        while (m_at < m_text.size()) {
            if (isSpace(m_text[m_at])) {
                ++m_at;
            } else if (m_text[m_at] == '/' && m_at + 1 < m_text.size() && m_text[m_at + 1] == '/') {
                while (m_at < m_text.size() && m_text[m_at] != '\n')
                    ++m_at;
            } else {
                return;
            }
        }
    }

    Token next(QByteArray& text) {
        skipSpaceAndComments();
        if (m_at >= m_text.size())
            return Token::End;
        const char first = m_text[m_at];
        if (first == '{' || first == '}') {
            ++m_at;
            return first == '{' ? Token::Open : Token::Close;
        }
        if (first != '"') {
            const qsizetype start = m_at;
            while (m_at < m_text.size() && !isSpace(m_text[m_at]) && m_text[m_at] != '"' &&
                   m_text[m_at] != '{' && m_text[m_at] != '}') {
                if (m_text[m_at] == '\0')
                    return Token::Error;
                ++m_at;
            }
            text = m_text.sliced(start, m_at - start).toByteArray();
            return Token::String;
        }
        for (++m_at; m_at < m_text.size(); ++m_at) {
            char c = m_text[m_at];
            // A NUL never appears in text: this is a binary file.
            if (c == '\0')
                return Token::Error;
            if (c == '"') {
                ++m_at;
                return Token::String;
            }
            if (c == '\\') {
                if (++m_at >= m_text.size())
                    return Token::Error;
                c = m_text[m_at];
                if (c == 'n')
                    c = '\n';
                else if (c == 't')
                    c = '\t';
                else if (c != '\\' && c != '"')
                    text.append('\\');
            }
            text.append(c);
        }
        return Token::Error;
    }

    QByteArrayView m_text;
    qsizetype m_at = 0;
    int m_entries = 0;
};

} // namespace

const KeyValue* KeyValue::find(QStringView name) const {
    for (const KeyValue& child : children) {
        if (child.key.compare(name, Qt::CaseInsensitive) == 0)
            return &child;
    }
    return nullptr;
}

QString KeyValue::valueOf(QStringView name) const {
    const KeyValue* pair = find(name);
    return pair && !pair->isBlock ? pair->value : QString();
}

std::optional<KeyValue> parseKeyValues(QByteArrayView text) {
    if (text.size() > keyValuesMaxBytes)
        return std::nullopt;
    KeyValue top;
    top.isBlock = true;
    if (!Parser(text).readBlock(top, 0))
        return std::nullopt;
    return top;
}

std::optional<KeyValue> readKeyValuesFile(const QString& path) {
    // A pipe put in a file's place cannot hold the reader.
    const Fd fd = openRegularFile(path);
    struct stat info {};
    if (!fd.valid() || ::fstat(fd.get(), &info) != 0 || info.st_size > keyValuesMaxBytes)
        return std::nullopt;
    // Sized by the file, with a byte to spare to notice one that grew since.
    QByteArray bytes(qsizetype(info.st_size) + 1, Qt::Uninitialized);
    qsizetype done = 0;
    for (;;) {
        if (done == bytes.size()) {
            if (done > keyValuesMaxBytes)
                return std::nullopt;
            bytes.resize(std::min(done * 2, keyValuesMaxBytes + 1));
        }
        const ssize_t got = ::read(fd.get(), bytes.data() + done, size_t(bytes.size() - done));
        if (got == 0)
            break;
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return std::nullopt;
        done += got;
    }
    if (done > keyValuesMaxBytes)
        return std::nullopt;
    return parseKeyValues(QByteArrayView(bytes.constData(), done));
}

} // namespace tunevane::games
