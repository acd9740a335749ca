#include "utilities/drivewalk/filesech.h"

#include "utilities/drivewalk/DrivewalkServer.h"
#include "utilities/drivewalk/FileCollection.h"

#include "platform/basic/Conversions.h"
#include "platform/basic/RuntimeError.h"
#include "platform/forms/Pump.h"
#include "platform/shell/Drives.h"
#include "platform/shell/Paths.h"

#include <QFile>
#include <QStringList>

#include <algorithm>
#include <memory>
#include <set>
#include <utility>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace drivewalk {

using automation::Args;
using automation::Variant;

namespace {

// "*" against any run and "?" against one character, on case-folded text. Greedy
// with one back-track point, so a long name against many stars stays linear-ish.
bool wildcardMatch(const QString& name, const QString& mask)
{
    qsizetype n = 0, m = 0, starMask = -1, starName = 0;
    while (n < name.size()) {
        if (m < mask.size() && (mask.at(m) == QLatin1Char('?') || mask.at(m) == name.at(n))) {
            ++n;
            ++m;
        } else if (m < mask.size() && mask.at(m) == QLatin1Char('*')) {
            starMask = m++;
            starName = n;
        } else if (starMask >= 0) {
            m = starMask + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask.at(m) == QLatin1Char('*'))
        ++m;
    return m == mask.size();
}

struct Folder
{
    QString display;   // as results show it, ending with "\"
    QByteArray native; // the path to list, without a trailing "/" (but "/" itself)
};

struct Entry
{
    QString name;
    QByteArray nativeName;
    bool plainFile = false;
    bool folder = false;
    dev_t device = 0;
    ino_t inode = 0;
};

QByteArray joinNative(const QByteArray& folder, const QByteArray& name)
{
    return folder.endsWith('/') ? folder + name : folder + '/' + name;
}

// The folder's entries in name order, with what the search needs to know of each.
// A folder that cannot be opened lists nothing.
std::vector<Entry> listFolder(const QByteArray& native)
{
    std::vector<Entry> entries;
    DIR* dir = ::opendir(native.constData());
    if (!dir)
        return entries;
    const int fd = ::dirfd(dir);
    while (const dirent* d = ::readdir(dir)) {
        // Hidden entries (and "." and "..") are neither listed nor searched.
        if (d->d_name[0] == '.')
            continue;
        Entry e;
        e.nativeName = QByteArray(d->d_name);
        e.name = QFile::decodeName(e.nativeName);
        struct stat st
        {
        };
        if (::fstatat(fd, d->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
            continue; // vanished meanwhile
        if (S_ISDIR(st.st_mode)) {
            e.folder = true;
            e.device = st.st_dev;
            e.inode = st.st_ino;
        } else if (S_ISREG(st.st_mode)) {
            e.plainFile = true;
        } else if (S_ISLNK(st.st_mode)) {
            // A link to a file is listed as that file; a link to a folder is not followed.
            struct stat target
            {
            };
            e.plainFile = ::fstatat(fd, d->d_name, &target, 0) == 0 && S_ISREG(target.st_mode);
        }
        // Devices, pipes and sockets are system entries: never listed.
        if (e.plainFile || e.folder)
            entries.push_back(std::move(e));
    }
    ::closedir(dir);
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        const int c = a.name.compare(b.name, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a.nativeName < b.nativeName;
    });
    return entries;
}

QByteArray nativeFolderOf(const QString& display)
{
    QString native = shell::nativePath(display);
    while (native.size() > 1 && native.endsWith(QLatin1Char('/')))
        native.chop(1);
    return QFile::encodeName(native.isEmpty() ? QStringLiteral(".") : native);
}

// One search: the state shared by every folder it visits.
class Search
{
public:
    Search(const QStringList& masks, dev_t device) : m_masks(masks), m_device(device) {}

    // Appends the folder's own matches to `results` (grouped by mask, in mask order)
    // and returns its sub-folders, when `collectFolders` is set.
    std::vector<Folder> scan(const Folder& folder, bool collectFolders, std::vector<QString>& results)
    {
        const std::vector<Entry> entries = listFolder(folder.native);
        for (const QString& mask : m_masks)
            for (const Entry& e : entries)
                if (e.plainFile && filesech::matchesMask(e.name, mask))
                    results.push_back(folder.display + e.name);
        std::vector<Folder> subFolders;
        if (!collectFolders)
            return subFolders;
        for (const Entry& e : entries) {
            // Never into another file system, never twice into one folder (bind mounts).
            if (!e.folder || e.device != m_device || !m_visited.insert(e.inode).second)
                continue;
            subFolders.push_back(
                {folder.display + e.name + QLatin1Char('\\'), joinNative(folder.native, e.nativeName)});
        }
        return subFolders;
    }

    void markVisited(ino_t inode) { m_visited.insert(inode); }

private:
    QStringList m_masks;
    dev_t m_device;
    std::set<ino_t> m_visited;
};

} // namespace

filesech::filesech() : m_lock(liveObjects()) {}

filesech::~filesech() = default;

const automation::MemberTable<filesech>& filesech::table()
{
    static const auto t =
        automation::MemberTable<filesech>()
            .property(
                DispSearchStopDll, "SearchStopDll",
                [](filesech& f, Args&) { return Variant(f.searchStop()); },
                [](filesech& f, Args&, const Variant& v) { f.setSearchStop(basic::CBool(v)); })
            .method(DispGetLogSysDrive, "GetLogSysDrive",
                    [](filesech&, Args&) { return Variant(getLogSysDrive()); })
            .method(DispGetAllFiles, "GetAllFiles", [](filesech& f, Args& a) {
                if (a.size() < 3)
                    throw basic::RuntimeError(basic::err::WrongNumberOfArguments,
                                              basic::errorDescription(basic::err::WrongNumberOfArguments),
                                              QStringLiteral("Drivewalk.filesech"));
                // By reference, but the caller's values are left as they were.
                const automation::ObjectRef found =
                    f.getAllFiles(basic::CStr(a[0]), basic::CStr(a[1]), basic::CBool(a[2]));
                return found ? Variant(found) : Variant::nothing();
            });
    return t;
}

automation::DispId filesech::idOfName(const QString& name) const
{
    return table().idOfName(name);
}

Variant filesech::invoke(automation::DispId id, automation::Invoke kind, Args& args, const Variant& value)
{
    return table().invoke(*this, id, kind, args, value);
}

QString filesech::getLogSysDrive()
{
    // One reading of the mount table; the drives come in letter order, C first.
    QString letters;
    for (const shell::Drive& drive : shell::logicalDrives())
        if (drive.type == shell::DriveType::Fixed && drive.letter >= QLatin1Char('C') &&
            drive.letter <= QLatin1Char('Z'))
            letters += drive.letter;
    return letters.trimmed();
}

bool filesech::matchesMask(const QString& name, const QString& mask)
{
    if (mask.isEmpty())
        return false;
    const QString n = name.toCaseFolded();
    const QString m = mask.toCaseFolded();
    if (wildcardMatch(n, m))
        return true;
    if (m.endsWith(QLatin1String(".*")))
        return wildcardMatch(n, m.chopped(2));
    if (m.endsWith(QLatin1Char('.')))
        return !n.contains(QLatin1Char('.')) && wildcardMatch(n, m.chopped(1));
    return false;
}

automation::ObjectRef filesech::getAllFiles(const QString& path, const QString& filespec, bool recurseDirs)
{
    // The pump may run a handler that drops the caller's last reference to this object.
    const std::shared_ptr<Object> keepAlive = weak_from_this().lock();

    forms::DoEvents();
    if (m_searchStop)
        return nullptr;

    std::vector<QString> results;
    Folder top{path.endsWith(QLatin1Char('\\')) ? path : path + QLatin1Char('\\'), {}};
    top.native = nativeFolderOf(top.display);

    // A drive letter that names no drive must not fall back to a folder of that
    // name below the current one.
    struct stat st
    {
    };
    if (shell::namesUnknownDrive(top.display) || ::stat(top.native.constData(), &st) != 0 ||
        !S_ISDIR(st.st_mode))
        return std::make_shared<FileCollection>(std::move(results));

    Search search(filespec.split(QLatin1Char(';')), st.st_dev);
    search.markVisited(st.st_ino);

    // Depth first without recursion, so that a deep tree cannot exhaust the stack:
    // each level holds the sub-folders one folder collected, taken in order.
    struct Level
    {
        std::vector<Folder> folders;
        size_t next = 0;
    };
    std::vector<Level> levels;
    levels.push_back({search.scan(top, recurseDirs, results), 0});
    while (!levels.empty()) {
        Level& level = levels.back();
        if (level.next == level.folders.size()) {
            levels.pop_back();
            continue;
        }
        const Folder folder = level.folders[level.next++];
        forms::DoEvents();
        // A stop ends the search with what was found before it.
        if (m_searchStop)
            break;
        levels.push_back({search.scan(folder, true, results), 0});
    }
    return std::make_shared<FileCollection>(std::move(results));
}

} // namespace drivewalk
