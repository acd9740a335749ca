#include "utilities/keelbox/TextStream.h"

#include "utilities/keelbox/KeelboxServer.h"

#include "platform/basic/Conversions.h"
#include "platform/basic/RuntimeError.h"
#include "platform/basic/Strings.h"
#include "platform/shell/Paths.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace keelbox {

namespace {

constexpr int32_t BadFileMode = 54;
constexpr int32_t PermissionDenied = 70;

[[noreturn]] void raise(int32_t number, const QString& description = {})
{
    throw basic::RuntimeError(number, description.isEmpty() ? basic::errorDescription(number) : description,
                              QStringLiteral("Keelbox.TextStream"));
}

int32_t countArgument(const automation::Args& args)
{
    if (args.empty())
        raise(basic::err::WrongNumberOfArguments);
    const int32_t count = basic::CLng(args.front());
    if (count < 0)
        raise(basic::err::InvalidProcedureCall);
    return count;
}

} // namespace

automation::ObjectRef TextStream::openForReading(const QString& path)
{
    const QString native = shell::nativePath(path);
    const QFileInfo info(native);
    if (path.trimmed().isEmpty() || shell::namesUnknownDrive(path) || !info.isFile())
        throw basic::RuntimeError(basic::err::FileNotFound, basic::errorDescription(basic::err::FileNotFound),
                                  QStringLiteral("Keelbox.DoSecurity"));
    QFile file(native);
    if (!file.open(QIODevice::ReadOnly))
        throw basic::RuntimeError(PermissionDenied, QStringLiteral("Permission denied"),
                                  QStringLiteral("Keelbox.DoSecurity"));
    return std::make_shared<TextStream>(basic::fromWindows1252(file.readAll()));
}

TextStream::TextStream(QString text) : m_text(std::move(text)), m_lock(liveObjects()) {}

TextStream::~TextStream() = default;

const automation::MemberTable<TextStream>& TextStream::table()
{
    using automation::Args;
    using automation::Variant;
    static const auto t =
        automation::MemberTable<TextStream>()
            .property(1, "Line",
                      [](TextStream& s, Args&) {
                          s.checkOpen();
                          return Variant(s.line());
                      })
            .property(2, "Column",
                      [](TextStream& s, Args&) {
                          s.checkOpen();
                          return Variant(s.column());
                      })
            .property(3, "AtEndOfStream", [](TextStream& s, Args&) { return Variant(s.atEndOfStream()); })
            .property(4, "AtEndOfLine", [](TextStream& s, Args&) { return Variant(s.atEndOfLine()); })
            .method(5, "Read", [](TextStream& s, Args& a) { return Variant(s.read(countArgument(a))); })
            .method(6, "ReadLine", [](TextStream& s, Args&) { return Variant(s.readLine()); })
            .method(7, "ReadAll", [](TextStream& s, Args&) { return Variant(s.readAll()); })
            .method(8, "Write",
                    [](TextStream& s, Args&) -> Variant {
                        s.checkOpen();
                        raise(BadFileMode);
                    })
            .method(9, "WriteLine",
                    [](TextStream& s, Args&) -> Variant {
                        s.checkOpen();
                        raise(BadFileMode);
                    })
            .method(10, "WriteBlankLines",
                    [](TextStream& s, Args&) -> Variant {
                        s.checkOpen();
                        raise(BadFileMode);
                    })
            .method(11, "Skip",
                    [](TextStream& s, Args& a) {
                        s.skip(countArgument(a));
                        return Variant();
                    })
            .method(12, "SkipLine",
                    [](TextStream& s, Args&) {
                        s.skipLine();
                        return Variant();
                    })
            .method(13, "Close", [](TextStream& s, Args&) {
                s.close();
                return Variant();
            });
    return t;
}

automation::DispId TextStream::idOfName(const QString& name) const
{
    return table().idOfName(name);
}

automation::Variant TextStream::invoke(automation::DispId id, automation::Invoke kind, automation::Args& args,
                                       const automation::Variant& value)
{
    return table().invoke(*this, id, kind, args, value);
}

void TextStream::checkOpen() const
{
    if (!m_open)
        raise(basic::err::BadFileNameOrNumber);
}

void TextStream::checkNotAtEnd() const
{
    checkOpen();
    if (m_pos >= m_text.size())
        raise(basic::err::InputPastEndOfFile);
}

bool TextStream::atEndOfStream() const
{
    checkOpen();
    return m_pos >= m_text.size();
}

bool TextStream::atEndOfLine() const
{
    checkOpen();
    return m_pos >= m_text.size() || lineEndLength(m_pos) > 0;
}

// The length of the line end starting at `at`: 2 for CR LF, 1 for LF or CR, else 0.
qsizetype TextStream::lineEndLength(qsizetype at) const
{
    if (at >= m_text.size())
        return 0;
    if (m_text.at(at) == QLatin1Char('\n'))
        return 1;
    if (m_text.at(at) == QLatin1Char('\r'))
        return (at + 1 < m_text.size() && m_text.at(at + 1) == QLatin1Char('\n')) ? 2 : 1;
    return 0;
}

// Consumes up to `count` characters, keeping Line and Column in step; a CR LF
// counts as one line end even when a count stops between its two characters.
QString TextStream::take(qsizetype count)
{
    count = std::min(count, m_text.size() - m_pos);
    const QString out = m_text.mid(m_pos, count);
    for (const qsizetype end = m_pos + count; m_pos < end; ++m_pos) {
        const QChar c = m_text.at(m_pos);
        if (c == QLatin1Char('\n') && m_pos > 0 && m_text.at(m_pos - 1) == QLatin1Char('\r'))
            continue;
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r')) {
            ++m_line;
            m_column = 1;
        } else {
            ++m_column;
        }
    }
    return out;
}

QString TextStream::read(int32_t count)
{
    checkNotAtEnd();
    return take(count);
}

QString TextStream::readLine()
{
    checkNotAtEnd();
    qsizetype end = m_pos;
    while (end < m_text.size() && lineEndLength(end) == 0)
        ++end;
    const QString line = m_text.mid(m_pos, end - m_pos);
    take(end - m_pos + lineEndLength(end));
    return line;
}

QString TextStream::readAll()
{
    checkNotAtEnd();
    return take(m_text.size() - m_pos);
}

void TextStream::skip(int32_t count)
{
    checkNotAtEnd();
    take(count);
}

void TextStream::skipLine()
{
    readLine();
}

void TextStream::close()
{
    checkOpen();
    m_open = false;
    m_text.clear();
    m_pos = 0;
}

} // namespace keelbox
