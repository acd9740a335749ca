#include "app/mainwindow/batch/BatchStatus.h"

#include "app/mainwindow/batch/BatchServices.h"
#include "app/mainwindow/batch/FiledNames.h"

#include "platform/basic/Dates.h"
#include "platform/shell/FileSystem.h"

#include <QFile>
#include <QHash>
#include <QSet>

#include <algorithm>
#include <limits>
#include <string>
#include <string_view>
#include <unordered_map>

namespace batch {

void StatusRows::setRow(int index, const StatusRow& row)
{
    rows.at(size_t(index)) = row;
    ++changes;
}

void StatusRows::removeRow(int index)
{
    rows.erase(rows.begin() + index);
    ++changes;
}

void StatusRows::appendRow(const StatusRow& row)
{
    rows.push_back(row);
    ++changes;
}

void StatusRows::clear()
{
    rows.clear();
    ++changes;
}

const std::vector<QString>& statusColumns()
{
    static const std::vector<QString> columns = {QStringLiteral("File Name"), QStringLiteral("Status"),
                                                 QStringLiteral("DateCreated"), QStringLiteral("File Path")};
    return columns;
}

namespace {

// The creation date as the list shows it, in local time. The texts are kept: every
// scan shows the same files again, and each conversion to local time costs the C
// library a look at the zone file.
QString dateText(const QDateTime& created)
{
    if (!created.isValid())
        return QString();
    static QHash<qint64, QString> texts;
    const qint64 at = created.toMSecsSinceEpoch();
    const auto known = texts.constFind(at);
    if (known != texts.constEnd())
        return *known;
    if (texts.size() > 100000)
        texts.clear();
    return *texts.insert(at, basic::formatDate(basic::fromQDateTime(created.toLocalTime())));
}

// A companion's marker counts from the name's second character on.
bool isCompanion(const QString& name)
{
    return name.indexOf(QLatin1String("_RowsNotLoaded"), 1) >= 1 ||
           name.indexOf(QLatin1String("_ERRORLOG"), 1) >= 1;
}

const QString& stateText(const char* state)
{
    static const QString loaded = QLatin1String(status::Loaded);
    static const QString partial = QLatin1String(status::PartiallyLoaded);
    static const QString errors = QLatin1String(status::ErrorsFound);
    static const QString pending = QLatin1String(status::Pending);
    return state == status::Loaded            ? loaded
           : state == status::PartiallyLoaded ? partial
           : state == status::ErrorsFound     ? errors
                                              : pending;
}

class Entries
{
public:
    void add(const StatusRow& row)
    {
        if (m_paths.contains(row.path))
            return; // the first entry of a path wins
        m_paths.insert(row.path);
        m_rows.push_back(row);
    }
    void reserve(size_t size)
    {
        m_paths.reserve(qsizetype(size));
        m_rows.reserve(size);
    }
    std::vector<StatusRow> take() { return std::move(m_rows); }

private:
    QSet<QString> m_paths;
    std::vector<StatusRow> m_rows;
};

struct NameHash
{
    using is_transparent = void;
    size_t operator()(std::string_view name) const { return std::hash<std::string_view>()(name); }
};

QDateTime fromNs(int64_t ns)
{
    if (ns == std::numeric_limits<int64_t>::min())
        return QDateTime();
    const int64_t ms = ns / 1000000 - (ns % 1000000 < 0 ? 1 : 0); // rounded down, as a listing does
    return QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC);
}

} // namespace

// One folder's files as the last scan found them, by the bytes of their names.
class BatchStatusScan::Folder
{
public:
    explicit Folder(bool errorFolder) : m_errorFolder(errorFolder) {}

    // The folder's rows, in name order.
    const std::vector<StatusRow>& scan(BatchFileSystem& files, const QString& folder)
    {
        if (folder != m_folder) {
            m_known.clear();
            m_order.clear();
            m_rows.clear();
            m_folder = folder;
        }
        shell::FolderReading reading = files.readFolder(folder);
        ++m_scan;
        bool added = false, redated = false;
        size_t present = 0;
        for (size_t i = 0; i < reading.size(); ++i) {
            if (!reading.isFile(i))
                continue;
            const std::string_view bytes = reading.name(i);
            auto it = m_known.find(bytes);
            if (it == m_known.end()) {
                it = m_known.emplace(std::string(bytes), known(bytes)).first;
                added = true;
            }
            Known& k = it->second;
            if (k.seen == m_scan)
                continue; // a name listed twice
            if (!k.companion) { // a companion is paired by its name alone
                const std::optional<int64_t> created = reading.createdNs(i);
                if (!created)
                    continue; // gone since it was listed
                if (!k.dated || k.created != *created) {
                    k.created = *created;
                    k.dated = true;
                    k.row.date = dateText(fromNs(*created));
                    redated = true;
                }
            }
            k.seen = m_scan;
            k.position = i;
            ++present;
        }
        const bool changedSet = added || present != m_order.size();
        if (changedSet)
            reorder(reading.listed());
        if (changedSet || redated)
            collect();
        return m_rows;
    }

private:
    struct Known
    {
        bool companion = false;
        bool dated = false;
        int64_t created = 0;
        uint64_t seen = 0;
        size_t position = 0; // in the last reading
        QString lower;                // the name in lower case, for the pairing
        QString rowsKey, errorLogKey; // its companions' names in lower case
        StatusRow row;
    };
    using Map = std::unordered_map<std::string, Known, NameHash, std::equal_to<>>;

    Known known(std::string_view bytes) const
    {
        Known k;
        k.row.name = QFile::decodeName(QByteArray(bytes.data(), qsizetype(bytes.size())));
        if (!m_errorFolder) {
            k.row.state = stateText(status::Loaded);
            k.row.path = joinPath(m_folder, k.row.name);
            return k;
        }
        k.lower = k.row.name.toLower();
        k.companion = isCompanion(k.row.name);
        const QString base = baseOfName(k.row.name);
        k.rowsKey = (base + QStringLiteral("_RowsNotLoaded.csv")).toLower();
        k.errorLogKey = (base + QStringLiteral("_ERRORLOG.csv")).toLower();
        return k;
    }

    // The files present, by name as a listing sorts them (or in the order of a
    // listing given; those this scan did not see are forgotten), and in the error
    // folder each failed file paired with its companions.
    void reorder(bool listed)
    {
        std::erase_if(m_known, [&](const Map::value_type& entry) { return entry.second.seen != m_scan; });
        m_order.clear();
        m_order.reserve(m_known.size());
        for (auto& entry : m_known)
            m_order.push_back(&entry.second);
        if (listed)
            std::sort(m_order.begin(), m_order.end(),
                      [](const Known* a, const Known* b) { return a->position < b->position; });
        else
            std::sort(m_order.begin(), m_order.end(),
                      [](const Known* a, const Known* b) { return a->row.name < b->row.name; });
        if (!m_errorFolder)
            return;
        QSet<QString> names;
        names.reserve(qsizetype(m_order.size()));
        for (const Known* k : m_order)
            names.insert(k->lower);
        for (Known* k : m_order) {
            if (k->companion)
                continue;
            if (names.contains(k->rowsKey)) {
                k->row.state = stateText(status::PartiallyLoaded);
                k->row.path = joinPath(m_folder, baseOfName(k->row.name)) + QStringLiteral("_RowsNotLoaded.CSV");
            } else if (names.contains(k->errorLogKey)) {
                k->row.state = stateText(status::ErrorsFound);
                k->row.path = joinPath(m_folder, baseOfName(k->row.name)) + QStringLiteral("_ERRORLOG.CSV");
            } else {
                k->row.state = stateText(status::ErrorsFound);
                k->row.path = joinPath(m_folder, k->row.name);
            }
        }
    }

    void collect()
    {
        m_rows.clear();
        m_rows.reserve(m_order.size());
        for (const Known* k : m_order) {
            if (!k->companion)
                m_rows.push_back(k->row);
        }
    }

    bool m_errorFolder;
    QString m_folder;
    Map m_known;
    std::vector<Known*> m_order; // the files present, by name
    std::vector<StatusRow> m_rows;
    uint64_t m_scan = 0;
};

BatchStatusScan::BatchStatusScan()
    : m_success(std::make_unique<Folder>(false)), m_error(std::make_unique<Folder>(true))
{
}

BatchStatusScan::~BatchStatusScan() = default;

std::vector<StatusRow> BatchStatusScan::derive(BatchFileSystem& files, const QString& successFolder,
                                               const QString& errorFolder, const QString& sourceFolder,
                                               const std::vector<shell::FileEntry>* sourceFiles)
{
    const std::vector<StatusRow>& loaded = m_success->scan(files, successFolder);
    const std::vector<StatusRow>& failed = m_error->scan(files, errorFolder);
    const std::vector<shell::FileEntry> read =
        sourceFiles ? std::vector<shell::FileEntry>() : files.listFiles(sourceFolder);
    const std::vector<shell::FileEntry>& source = sourceFiles ? *sourceFiles : read;

    Entries entries;
    entries.reserve(loaded.size() + failed.size() + source.size());
    for (const StatusRow& row : loaded)
        entries.add(row);
    for (const StatusRow& row : failed)
        entries.add(row);
    for (const shell::FileEntry& f : source)
        entries.add(
            StatusRow{f.name, stateText(status::Pending), dateText(f.created), joinPath(sourceFolder, f.name)});
    return entries.take();
}

void BatchStatusScan::refresh(StatusListView& list, BatchFileSystem& files, const QString& successFolder,
                              const QString& errorFolder, const QString& sourceFolder,
                              const std::vector<shell::FileEntry>* sourceFiles)
{
    reconcileBatchStatus(list, derive(files, successFolder, errorFolder, sourceFolder, sourceFiles));
}

std::vector<StatusRow> deriveBatchStatus(BatchFileSystem& files, const QString& successFolder,
                                         const QString& errorFolder, const QString& sourceFolder,
                                         const std::vector<shell::FileEntry>* sourceFiles)
{
    return BatchStatusScan().derive(files, successFolder, errorFolder, sourceFolder, sourceFiles);
}

void reconcileBatchStatus(StatusListView& list, std::vector<StatusRow> entries)
{
    if (list.rowCount() == 0) {
        for (const StatusRow& entry : entries)
            list.appendRow(entry);
        return;
    }
    // Entries by path (each path once); those a row takes are marked.
    QHash<QString, size_t> byPath;
    byPath.reserve(qsizetype(entries.size()));
    for (size_t i = 0; i < entries.size(); ++i)
        byPath.insert(entries[i].path, i);
    std::vector<bool> taken(entries.size(), false);
    std::vector<bool> emptied(size_t(list.rowCount()), false); // rows whose text is empty now
    for (int i = list.rowCount() - 1; i >= 0; --i) {
        StatusRow row = list.row(i);
        const auto found = byPath.constFind(row.path);
        emptied[size_t(i)] = row.name.isEmpty();
        if (found == byPath.constEnd() || taken[*found]) {
            list.setRow(i, StatusRow{});
            emptied[size_t(i)] = true;
            continue;
        }
        const StatusRow& entry = entries[*found];
        if (row.state != entry.state || row.date != entry.date) {
            row.state = entry.state;
            row.date = entry.date;
            list.setRow(i, row);
        }
        taken[*found] = true;
    }
    for (int i = list.rowCount() - 1; i >= 0; --i) {
        if (emptied[size_t(i)])
            list.removeRow(i);
    }
    for (size_t i = 0; i < entries.size(); ++i) {
        if (!taken[i])
            list.appendRow(entries[i]);
    }
}

void RefreshBatchStatus(StatusListView& list, BatchFileSystem& files, const QString& successFolder,
                        const QString& errorFolder, const QString& sourceFolder,
                        const std::vector<shell::FileEntry>* sourceFiles)
{
    BatchStatusScan().refresh(list, files, successFolder, errorFolder, sourceFolder, sourceFiles);
}

void ListViewBatchStatus_ColumnClick(StatusListView& list, int columnIndex)
{
    list.setSortKey(columnIndex - 1);
}

} // namespace batch
