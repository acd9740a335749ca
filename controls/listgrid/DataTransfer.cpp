#include "controls/listgrid/DataTransfer.h"

#include <QUrl>

#include <cstring>

namespace listgrid {

namespace {

constexpr int FileListHeader = 20;
const QString PlainText = QStringLiteral("text/plain");

uint32_t dwordAt(const QByteArray& block, qsizetype at)
{
    uint32_t value = 0;
    std::memcpy(&value, block.constData() + at, sizeof value);
    return value; // little-endian, as the block is written
}

void appendDword(QByteArray& block, uint32_t value) { block.append(reinterpret_cast<const char*>(&value), sizeof value); }

} // namespace

QByteArray terminatedText(const QByteArray& block)
{
    const qsizetype end = block.indexOf('\0');
    return end < 0 ? block : block.left(end);
}

// ---- the control's data source ----

void ControlDataSource::empty()
{
    m_announced = false;
    m_text.reset();
}

bool ControlDataSource::queryFormat(int16_t format) const
{
    return format == clipboard::Text && (m_announced || m_text);
}

std::optional<QByteArray> ControlDataSource::getBlock(int16_t format) const
{
    if (format != clipboard::Text)
        return std::nullopt;
    return m_text;
}

bool ControlDataSource::setBlock(int16_t format, const std::optional<QByteArray>& block)
{
    if (format == 0 && !block) {
        // Clear: the drag carries nothing from here on.
        empty();
        return true;
    }
    if (format != clipboard::Text || !block)
        return false;
    m_text = *block;
    if (!m_text->endsWith('\0'))
        m_text->append('\0');
    return true;
}

QByteArray ControlDataSource::text() const { return m_text ? terminatedText(*m_text) : QByteArray(); }

// ---- a drop's mime data ----

QStringList MimeTransfer::localFiles() const
{
    QStringList files;
    if (!m_mime || !m_mime->hasUrls())
        return files;
    for (const QUrl& url : m_mime->urls())
        if (url.isLocalFile())
            files << url.toLocalFile();
    return files;
}

bool MimeTransfer::queryFormat(int16_t format) const
{
    if (format == clipboard::Text)
        // Not hasText(), which also counts a list of addresses as text.
        return m_mime && m_mime->hasFormat(PlainText);
    if (format == clipboard::DroppedFiles)
        return !localFiles().isEmpty();
    return false;
}

std::optional<QByteArray> MimeTransfer::getBlock(int16_t format) const
{
    if (!queryFormat(format))
        return std::nullopt;
    if (format == clipboard::Text) {
        QByteArray text = m_mime->text().toLatin1();
        text.append('\0');
        return text;
    }
    return fileListBlock(localFiles());
}

bool MimeTransfer::setBlock(int16_t, const std::optional<QByteArray>&) { return false; }

// ---- the mime data of a control's drag ----

QStringList ControlMimeData::formats() const
{
    return m_source && m_source->queryFormat(clipboard::Text) ? QStringList{PlainText} : QStringList{};
}

bool ControlMimeData::hasFormat(const QString& mimeType) const { return formats().contains(mimeType); }

QVariant ControlMimeData::retrieveData(const QString& mimeType, QMetaType) const
{
    if (mimeType != PlainText || !m_source)
        return {};
    const auto block = m_source->getBlock(clipboard::Text);
    if (!block)
        return {};
    return QString::fromLatin1(terminatedText(*block));
}

DropData::DropData(const QMimeData* mime) : m_mime(mime)
{
    if (const auto* own = qobject_cast<const ControlMimeData*>(mime))
        m_source = own->source();
}

// ---- the file-list block ----

QByteArray fileListBlock(const QStringList& files)
{
    QByteArray block;
    appendDword(block, FileListHeader);
    appendDword(block, 0);
    appendDword(block, 0);
    appendDword(block, 0);
    appendDword(block, 1); // wide names
    for (const QString& file : files) {
        block.append(reinterpret_cast<const char*>(file.utf16()), file.size() * 2);
        block.append(2, '\0');
    }
    block.append(2, '\0');
    return block;
}

FileList readFileListBlock(const QByteArray& block)
{
    FileList list;
    const auto refuse = [&list](const QString& what) {
        list.files.clear();
        list.error = QStringLiteral("The dropped file list is refused: ") + what;
        return list;
    };
    if (block.size() < FileListHeader)
        return refuse(QStringLiteral("its header needs %1 bytes and the block has %2.")
                          .arg(FileListHeader)
                          .arg(block.size()));
    const uint32_t offset = dwordAt(block, 0);
    const bool wide = dwordAt(block, 16) != 0;
    const int unit = wide ? 2 : 1;
    if (offset < uint32_t(FileListHeader) || offset > uint32_t(block.size()))
        return refuse(QStringLiteral("its names begin at byte %1, outside the block of %2 bytes.")
                          .arg(offset)
                          .arg(block.size()));
    qsizetype at = qsizetype(offset);
    for (int number = 1;; ++number) {
        // The name's end: a zero character wholly inside the block.
        qsizetype end = at;
        while (end + unit <= block.size() &&
               !(block[end] == '\0' && (unit == 1 || block[end + 1] == '\0')))
            end += unit;
        if (end + unit > block.size())
            return refuse(at < block.size()
                              ? QStringLiteral("name %1 does not end within the block.").arg(number)
                              : QStringLiteral("the list does not end within the block."));
        const qsizetype chars = (end - at) / unit;
        if (chars == 0)
            break;
        if (chars >= MaxPathChars)
            return refuse(QStringLiteral("file %1 has a name of %2 characters; a name may have at most %3.")
                              .arg(number)
                              .arg(chars)
                              .arg(MaxPathChars - 1));
        if (wide) {
            QString name(chars, Qt::Uninitialized);
            std::memcpy(name.data(), block.constData() + at, size_t(chars) * 2);
            list.files << name;
        } else {
            list.files << QString::fromLatin1(block.constData() + at, chars);
        }
        at = end + unit;
    }
    return list;
}

} // namespace listgrid
