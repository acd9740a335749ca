#include "controls/listgrid/ColumnsBlock.h"

#include <QtEndian>

#include <cstring>

namespace listgrid {

namespace {

class Writer
{
public:
    explicit Writer(QByteArray& out) : m_out(out) {}
    void put16(int32_t offset, int32_t v) { qToLittleEndian<int16_t>(int16_t(v), ptr(offset)); }
    void put32(int32_t offset, uint32_t v) { qToLittleEndian<uint32_t>(v, ptr(offset)); }
    // A text cut to leave its terminating zero inside the field.
    void putText(int32_t offset, int32_t size, const QString& text)
    {
        const QByteArray bytes = text.toLatin1().left(size - 1);
        std::memcpy(ptr(offset), bytes.constData(), size_t(bytes.size()));
    }

private:
    uchar* ptr(int32_t offset) { return reinterpret_cast<uchar*>(m_out.data()) + offset; }
    QByteArray& m_out;
};

class Reader
{
public:
    explicit Reader(const QByteArray& in) : m_in(in) {}
    int32_t size() const { return int32_t(m_in.size()); }
    int16_t get16(int32_t offset) const { return qFromLittleEndian<int16_t>(ptr(offset)); }
    uint32_t get32(int32_t offset) const { return qFromLittleEndian<uint32_t>(ptr(offset)); }
    QString getText(int32_t offset, int32_t size) const
    {
        const char* p = reinterpret_cast<const char*>(ptr(offset));
        return QString::fromLatin1(p, qsizetype(strnlen(p, size_t(size))));
    }

private:
    const uchar* ptr(int32_t offset) const { return reinterpret_cast<const uchar*>(m_in.constData()) + offset; }
    const QByteArray& m_in;
};

QString damaged(const QString& why)
{
    return QStringLiteral("The stored \"Columns\" design is damaged: %1.").arg(why);
}

bool colourStored(uint32_t c) { return c != 0 && c != 0xFFFFFFFFu; }

// Values that size buffers or pick table entries must lie in range.
bool checkValues(const ColumnSettings& s, int index, QString& error)
{
    if (s.maxLength < 1 || s.maxLength > MaxColumnLength) {
        error = damaged(QStringLiteral("column %1 has the maximum length %2 (1 to %3 allowed)")
                            .arg(index + 1).arg(s.maxLength).arg(MaxColumnLength));
        return false;
    }
    if (s.dataType < 0 || s.dataType >= DataTypeCount) {
        error = damaged(QStringLiteral("column %1 has the unknown data type %2").arg(index + 1).arg(s.dataType));
        return false;
    }
    if (s.controlType < 0 || s.controlType >= ControlTypeCount) {
        error = damaged(QStringLiteral("column %1 has the unknown control type %2").arg(index + 1).arg(s.controlType));
        return false;
    }
    return true;
}

bool readCurrentLayout(const Reader& r, std::vector<ColumnSettings>& out, QString& error)
{
    const uint32_t total = r.get32(0);
    const uint32_t recordSize = r.get32(8);
    const uint32_t count = r.get32(12);
    if (total < uint32_t(ColumnsHeaderSize) || total > uint32_t(r.size())) {
        error = damaged(QStringLiteral("it claims %1 bytes but holds %2").arg(total).arg(r.size()));
        return false;
    }
    if (recordSize != uint32_t(ColumnRecordSize)) {
        error = damaged(QStringLiteral("its column records are %1 bytes, not %2").arg(recordSize).arg(ColumnRecordSize));
        return false;
    }
    if (count > (total - ColumnsHeaderSize) / ColumnRecordSize) {
        error = damaged(QStringLiteral("%1 columns do not fit in %2 bytes").arg(count).arg(total));
        return false;
    }
    int64_t at = ColumnsHeaderSize;
    for (uint32_t i = 0; i < count; ++i) {
        if (at + ColumnRecordSize > total) {
            error = damaged(QStringLiteral("column %1 runs past the end of the block").arg(i + 1));
            return false;
        }
        const auto o = int32_t(at);
        ColumnSettings s;
        s.key = r.getText(o, 32);
        s.caption = r.getText(o + 32, 64);
        s.captionAlignment = r.get16(o + 96);
        s.columnAlignment = r.get16(o + 98);
        s.visible = r.get16(o + 100) != 0;
        s.controlType = r.get16(o + 102);
        s.enabled = r.get16(o + 104) != 0;
        s.allowMove = r.get16(o + 108) != 0;
        s.allowSelect = r.get16(o + 110) != 0;
        s.allowSize = r.get16(o + 112) != 0;
        s.autoSize = r.get16(o + 114) != 0;
        s.fixed = r.get16(o + 116) != 0;
        s.dataType = r.get16(o + 118);
        s.dataField = r.getText(o + 120, 64);
        s.maxLength = r.get16(o + 184);
        s.decimalPlaces = r.get16(o + 186);
        s.width = r.get16(o + 188);
        s.sort = r.get16(o + 190);
        const uint32_t cellColours[4] = {r.get32(o + 192), r.get32(o + 196), r.get32(o + 200), r.get32(o + 204)};
        if (colourStored(cellColours[0]) || colourStored(cellColours[1]) || colourStored(cellColours[2]) ||
            colourStored(cellColours[3])) {
            s.backColor = cellColours[0];
            s.foreColor = cellColours[1];
            s.highlightedBackColor = cellColours[2];
            s.highlightedForeColor = cellColours[3];
        }
        s.controlStyle = int32_t(r.get32(o + 208));
        // Caption colours sit in the record's spare bytes; a block written without
        // them has zeros there and loads the defaults.
        const uint32_t captionColours[2] = {r.get32(o + CaptionColoursOffset), r.get32(o + CaptionColoursOffset + 4)};
        if (colourStored(captionColours[0]) || colourStored(captionColours[1])) {
            s.captionBackColor = captionColours[0];
            s.captionForeColor = captionColours[1];
        }
        if (!checkValues(s, int(i), error))
            return false;
        at += ColumnRecordSize;
        if (s.controlType == lstCtlPopup) {
            const int32_t popups = uint16_t(r.get16(o + 212));
            if (at + int64_t(popups) * PopupRecordSize > total) {
                error = damaged(QStringLiteral("the %1 popup columns of column %2 run past the end of the block")
                                    .arg(popups).arg(i + 1));
                return false;
            }
            for (int32_t p = 0; p < popups; ++p) {
                s.popupFields << r.getText(int32_t(at), PopupRecordSize);
                at += PopupRecordSize;
            }
        }
        out.push_back(std::move(s));
    }
    return true;
}

bool readLegacyLayout(const Reader& r, std::vector<ColumnSettings>& out, QString& error)
{
    const int32_t count = uint16_t(r.get16(12));
    if (LegacyHeaderSize + int64_t(count) * LegacyRecordSize > r.size()) {
        error = damaged(QStringLiteral("%1 columns of the older layout do not fit in %2 bytes").arg(count).arg(r.size()));
        return false;
    }
    for (int32_t i = 0; i < count; ++i) {
        const int32_t o = LegacyHeaderSize + i * LegacyRecordSize;
        ColumnSettings s;
        s.key = r.getText(o, 32);
        s.caption = r.getText(o + 32, 64);
        s.controlType = r.get16(o + 96);
        s.dataType = r.get16(o + 98);
        s.maxLength = r.get16(o + 100);
        s.decimalPlaces = r.get16(o + 102);
        s.width = r.get16(o + 104);
        s.dataField = r.getText(o + 106, 66);
        if (!checkValues(s, i, error))
            return false;
        out.push_back(std::move(s));
    }
    return true;
}

} // namespace

QByteArray writeColumnsBlock(const std::vector<ColumnSettings>& columns, QString* error)
{
    int64_t total = ColumnsHeaderSize;
    for (size_t i = 0; i < columns.size(); ++i) {
        const ColumnSettings& s = columns[i];
        const qsizetype popups = s.controlType == lstCtlPopup ? s.popupFields.size() : 0;
        // The record counts its popup columns in 16 bits: more would be stored as
        // fewer, and the design lost on the next load.
        if (popups > MaxPopupColumns) {
            if (error)
                *error = QStringLiteral("The columns could not be saved: column %1 has %2 popup columns, "
                                        "and at most %3 can be stored")
                             .arg(i + 1).arg(popups).arg(MaxPopupColumns);
            return {};
        }
        total += ColumnRecordSize + PopupRecordSize * popups;
    }
    QByteArray out(qsizetype(total), '\0');
    Writer w(out);
    w.put32(0, uint32_t(total));
    w.put32(4, ColumnsHeaderSize);
    w.put32(8, ColumnRecordSize);
    w.put32(12, uint32_t(columns.size()));
    int32_t o = ColumnsHeaderSize;
    for (const auto& s : columns) {
        w.putText(o, 32, s.key);
        w.putText(o + 32, 64, s.caption);
        w.put16(o + 96, s.captionAlignment);
        w.put16(o + 98, s.columnAlignment);
        w.put16(o + 100, s.visible);
        w.put16(o + 102, s.controlType);
        w.put16(o + 104, s.enabled);
        w.put16(o + 108, s.allowMove);
        w.put16(o + 110, s.allowSelect);
        w.put16(o + 112, s.allowSize);
        w.put16(o + 114, s.autoSize);
        w.put16(o + 116, s.fixed);
        w.put16(o + 118, s.dataType);
        w.putText(o + 120, 64, s.dataField);
        w.put16(o + 184, s.maxLength);
        w.put16(o + 186, s.decimalPlaces);
        w.put16(o + 188, s.width);
        w.put16(o + 190, s.sort);
        w.put32(o + 192, s.backColor);
        w.put32(o + 196, s.foreColor);
        w.put32(o + 200, s.highlightedBackColor);
        w.put32(o + 204, s.highlightedForeColor);
        w.put32(o + 208, uint32_t(s.controlStyle));
        const bool popup = s.controlType == lstCtlPopup;
        w.put16(o + 212, popup ? int32_t(s.popupFields.size()) : 0);
        w.put32(o + CaptionColoursOffset, s.captionBackColor);
        w.put32(o + CaptionColoursOffset + 4, s.captionForeColor);
        o += ColumnRecordSize;
        if (popup)
            for (const QString& field : s.popupFields) {
                w.putText(o, PopupRecordSize, field);
                o += PopupRecordSize;
            }
    }
    return out;
}

bool readColumnsBlock(const QByteArray& block, std::vector<ColumnSettings>& columns, QString& error)
{
    std::vector<ColumnSettings> read;
    if (!block.isEmpty()) {
        const Reader r(block);
        if (r.size() < LegacyHeaderSize) {
            error = damaged(QStringLiteral("%1 bytes are too few for a header").arg(r.size()));
            return false;
        }
        const bool current = r.get32(4) == uint32_t(ColumnsHeaderSize);
        if (current && r.size() < ColumnsHeaderSize) {
            error = damaged(QStringLiteral("%1 bytes are too few for a header").arg(r.size()));
            return false;
        }
        if (!(current ? readCurrentLayout(r, read, error) : readLegacyLayout(r, read, error)))
            return false;
    }
    columns = std::move(read);
    return true;
}

} // namespace listgrid
