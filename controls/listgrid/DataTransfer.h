#pragma once

#include <QByteArray>
#include <QMimeData>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <optional>

// What travels with a drag, in the platform's clipboard formats: text (1) and the
// dropped-files list (15), each as one block of memory. A drag the controls start
// carries their data source; a drag from elsewhere (another control, a file
// manager) arrives as Qt's QMimeData and is read through the same formats.
namespace listgrid {

namespace clipboard {
inline constexpr int16_t Text = 1;         // zero-terminated Latin-1 text
inline constexpr int16_t DroppedFiles = 15; // the file-list block below
} // namespace clipboard

// The zero-terminated text of a block, never read past its end.
QByteArray terminatedText(const QByteArray& block);

// The platform data object of one drag.
class TransferData
{
public:
    virtual ~TransferData() = default;
    virtual bool queryFormat(int16_t format) const = 0;
    // The block in `format`, or none when the object cannot give it.
    virtual std::optional<QByteArray> getBlock(int16_t format) const = 0;
    // Takes `block` in `format` (format 0 without a block: empty the object); false
    // when refused.
    virtual bool setBlock(int16_t format, const std::optional<QByteArray>& block) = 0;
};

// The control's own data source: text only, announced before it exists, so that a
// host can give it while the drag starts.
class ControlDataSource : public TransferData
{
public:
    void empty();
    void announceText() { m_announced = true; }
    bool queryFormat(int16_t format) const override;
    std::optional<QByteArray> getBlock(int16_t format) const override;
    bool setBlock(int16_t format, const std::optional<QByteArray>& block) override;
    // The text it holds, without its zero (empty when none).
    QByteArray text() const;

private:
    bool m_announced = false;
    std::optional<QByteArray> m_text; // with its terminating zero
};

// A drop's QMimeData read in the clipboard formats (text; local files as the
// file-list block). It is the sender's: nothing can be stored into it.
class MimeTransfer : public TransferData
{
public:
    explicit MimeTransfer(const QMimeData* mime) : m_mime(mime) {}
    bool queryFormat(int16_t format) const override;
    std::optional<QByteArray> getBlock(int16_t format) const override;
    bool setBlock(int16_t format, const std::optional<QByteArray>& block) override;

private:
    QStringList localFiles() const;
    const QMimeData* m_mime;
};

// The QMimeData a control's drag carries: it renders the data source's text when a
// target asks for it, and lets a target of this library reach the source itself.
class ControlMimeData : public QMimeData
{
    Q_OBJECT
public:
    explicit ControlMimeData(TransferData& source) : m_source(&source) {}
    TransferData* source() const { return m_source; }
    // After the drag: nothing reaches the source any more.
    void detach() { m_source = nullptr; }
    // Handed to Qt's drag, which deletes it.
    void setTaken() { m_taken = true; }
    bool taken() const { return m_taken; }
    QStringList formats() const override;
    bool hasFormat(const QString& mimeType) const override;

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override;

private:
    TransferData* m_source;
    bool m_taken = false;
};

// The platform data object that a QMimeData stands for: the source itself when it
// comes from a control of this library, else the mime data read in the formats.
class DropData
{
public:
    explicit DropData(const QMimeData* mime);
    TransferData& data() { return m_source ? *m_source : m_mime; }

private:
    TransferData* m_source = nullptr;
    MimeTransfer m_mime;
};

// The file-list block of the dropped-files format: a 20-byte header (offset of the
// names, the drop point x and y, a non-client flag, a wide-character flag), then
// the names as zero-terminated strings (16-bit when wide), then an empty one.
QByteArray fileListBlock(const QStringList& files);

// A dropped file name goes into a buffer of this many characters, its zero included.
inline constexpr int MaxPathChars = 260;

// Reads a file-list block. Everything is checked against the block's length, and
// every name against MaxPathChars, before a name is taken; a block that does not
// fit is refused whole with what does not fit in `error`.
struct FileList
{
    QStringList files;
    QString error; // empty when the block was read
};
FileList readFileListBlock(const QByteArray& block);

} // namespace listgrid
