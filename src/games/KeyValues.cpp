// SPDX-FileCopyrightText: 2026 The Tunevane developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "games/KeyValues.h"

#include "files/Path.h"
#include "games/Disk.h"

#include <QByteArray>
#include <QtEndian>

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

    qsizetype at() const { return m_at; }

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

class BinaryParser {
public:
    explicit BinaryParser(QByteArrayView bytes) : m_bytes(bytes) {}

    // Entries up to the 0x08 that closes this map; the top one may also end with the bytes.
    bool readMap(KeyValue& map, int depth) {
        for (;;) {
            if (m_at >= m_bytes.size())
                return depth == 0;
            const auto type = quint8(m_bytes[m_at++]);
            if (type == 0x08)
                return true;
            if (++m_entries > keyValuesMaxEntries)
                return false;
            KeyValue entry;
            QByteArray text;
            if (!readString(text))
                return false;
            entry.key = decodeName(text);
            switch (type) {
            case 0x00:
                entry.isBlock = true;
                if (depth + 1 > keyValuesMaxDepth || !readMap(entry, depth + 1))
                    return false;
                break;
            case 0x01:
                if (!readString(text))
                    return false;
                entry.value = decodeName(text);
                break;
            case 0x02: // int32
            case 0x03: // float32, kept as its bits: nothing here reads one
            case 0x04: // pointer
            case 0x06: // colour
                if (m_at + 4 > m_bytes.size())
                    return false;
                entry.value = type == 0x02 ? QString::number(qFromLittleEndian<qint32>(here()))
                                           : QString::number(qFromLittleEndian<quint32>(here()));
                m_at += 4;
                break;
            case 0x07: // uint64
            case 0x0A: // int64
                if (m_at + 8 > m_bytes.size())
                    return false;
                entry.value = type == 0x07 ? QString::number(qFromLittleEndian<quint64>(here()))
                                           : QString::number(qFromLittleEndian<qint64>(here()));
                m_at += 8;
                break;
            default:
                return false;
            }
            map.children.push_back(std::move(entry));
        }
    }

    qsizetype at() const { return m_at; }

private:
    const char* here() const { return m_bytes.data() + m_at; }

    bool readString(QByteArray& text) {
        const qsizetype end = m_bytes.indexOf('\0', m_at);
        if (end < 0)
            return false;
        text = m_bytes.sliced(m_at, end - m_at).toByteArray();
        m_at = end + 1;
        return true;
    }

    QByteArrayView m_bytes;
    qsizetype m_at = 0;
    int m_entries = 0;
};

ReadError brokenAt(qsizetype at) {
    return ReadError::damaged(QByteArrayLiteral("broken at byte ") + QByteArray::number(at));
}

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

Result<KeyValue> parseKeyValues(QByteArrayView text) {
    if (text.size() > keyValuesMaxBytes)
        return Unexpected(ReadError::tooLarge(keyValuesMaxBytes));
    KeyValue top;
    top.isBlock = true;
    Parser parser(text);
    if (!parser.readBlock(top, 0))
        return Unexpected(brokenAt(parser.at()));
    return top;
}

Result<KeyValue> readKeyValuesFile(const QString& path, const char* what) {
    return logged(readBounded(path, keyValuesMaxBytes, nullptr).and_then(parseKeyValues), what,
                  path);
}

Result<KeyValue> parseBinaryKeyValues(QByteArrayView bytes) {
    if (bytes.size() > keyValuesMaxBytes)
        return Unexpected(ReadError::tooLarge(keyValuesMaxBytes));
    KeyValue top;
    top.isBlock = true;
    BinaryParser parser(bytes);
    if (!parser.readMap(top, 0))
        return Unexpected(brokenAt(parser.at()));
    return top;
}

Result<KeyValue> readBinaryKeyValuesFile(const QString& path, const char* what) {
    return logged(readBounded(path, keyValuesMaxBytes, nullptr).and_then(parseBinaryKeyValues),
                  what, path);
}

} // namespace tunevane::games
