#pragma once

#include "platform/automation/ClassRegistry.h"
#include "platform/automation/MemberTable.h"
#include "platform/automation/Object.h"

#include <QString>

#include <cstdint>

namespace keelbox {

// A text stream open for reading, as FuncFileRead hands it out: the file's text,
// single-byte (Windows-1252), read from its start. A line ends at CR LF, LF or CR.
// Reading past the end raises 62; the writing members raise 54 (bad file mode);
// any use after Close raises 52.
class TextStream : public automation::Object
{
public:
    // Raises 53 when `path` names no existing file, 70 when it cannot be read.
    static automation::ObjectRef openForReading(const QString& path);

    explicit TextStream(QString text);
    ~TextStream() override;

    QString className() const override { return QStringLiteral("TextStream"); }
    automation::DispId idOfName(const QString& name) const override;
    automation::Variant invoke(automation::DispId id, automation::Invoke kind, automation::Args& args,
                               const automation::Variant& value) override;

    int32_t line() const { return m_line; }
    int32_t column() const { return m_column; }
    bool atEndOfStream() const;
    bool atEndOfLine() const;
    QString read(int32_t count);
    QString readLine();
    QString readAll();
    void skip(int32_t count);
    void skipLine();
    void close();

private:
    static const automation::MemberTable<TextStream>& table();
    void checkOpen() const;
    void checkNotAtEnd() const;
    QString take(qsizetype count);
    qsizetype lineEndLength(qsizetype at) const;

    QString m_text;
    qsizetype m_pos = 0;
    int32_t m_line = 1;
    int32_t m_column = 1;
    bool m_open = true;
    automation::LibraryLock m_lock;
};

} // namespace keelbox
