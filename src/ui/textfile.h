#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// The encodings our list and settings files come in. Files kept with
// Notepad on Japanese Windows are mostly CP932, sometimes UTF-8 or UTF-16
// with a byte-order mark; each is written back as it was read.
enum class TextEncoding { Utf8, Utf8Bom, Utf16LE, Utf16BE, Cp932 };

struct TextFormat {
    TextEncoding encoding = TextEncoding::Utf8Bom;  // new files
    QString lineBreak = QStringLiteral("\r\n");
    bool operator==(const TextFormat &) const = default;
};

struct TextFileContent {
    QStringList lines;
    TextFormat format;
};

// BOM → UTF-8/UTF-16 LE/BE; else valid UTF-8 → UTF-8; else CP932; bytes
// that are neither are read as CP932 would and written back as UTF-8 with
// BOM. Lines end
// at LF, CR LF or CR; the break after the last line does not make an empty
// line. The first break found is the file's line break.
TextFileContent decodeText(const QByteArray &bytes);

// Each line followed by the format's line break. A character the format's
// encoding cannot hold switches `format` to UTF-8 with BOM rather than
// writing a replacement character.
QByteArray encodeText(const QStringList &lines, TextFormat &format);

// The file's content, or nothing when the file is missing or unreadable.
std::optional<TextFileContent> readTextFile(const QString &path);

// Replaces the file only once the new content is complete (QSaveFile).
// Throws std::runtime_error with a message for the error report; the old
// file then stays as it was. `format` may switch as in encodeText.
void writeTextFile(const QString &path, const QStringList &lines, TextFormat &format);

// Test hook: writes stop after `bytes` bytes and fail, as a full disk
// would; negative switches the limit off.
void setTextFileWriteLimit(qint64 bytes);
