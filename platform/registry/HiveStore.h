#pragma once

#include "platform/registry/HiveNode.h"
#include "platform/registry/RegistryStore.h"

#include <QString>

#include <sys/stat.h>

#include <functional>
#include <map>
#include <memory>
#include <mutex>

namespace registry {

// The hive files of this process: each one read when first used and again whenever
// it changed on disk (another process, such as regsvr, may write it), and every
// change written under an advisory lock through a temporary file and a rename.
class HiveStore
{
public:
    struct Snapshot
    {
        Status status = Success; // InvalidData: corrupt; AccessDenied: unreadable
        std::shared_ptr<const HiveNode> root;
    };

    static HiveStore& instance();

    // The hive as it is on disk now. A missing file is an empty hive.
    Snapshot current(const QString& file);

    // The access rule for writes: the file (when it exists) and its folder, or the
    // nearest folder that exists, must pass access(2) W_OK and carry the owner-write
    // bit, so that a read-only hive is refused even to root.
    bool mayWrite(const QString& file, QString* why = nullptr) const;
    // mayWrite(), remembering why not for statusText().
    bool checkWritable(const QString& file);

    // Applies `change` to the hive as it is on disk, under the hive's lock, and writes
    // the result atomically. Nothing is written when `change` fails, when the hive is
    // corrupt, or when the user may not write it; a failed write leaves the old file.
    // `ownerOnly` makes the file (and any folder created for it) private to its owner.
    Status modify(const QString& file, bool ownerOnly, const std::function<Status(HiveNode&)>& change);

    // Why the last operation on `file` failed with `status` (empty when unknown).
    QString detail(const QString& file, Status status) const;

private:
    struct Stamp
    {
        bool exists = false;
        dev_t dev = 0;
        ino_t ino = 0;
        off_t size = 0;
        int64_t mtimeNs = 0;
        int64_t ctimeNs = 0;
        bool operator==(const Stamp&) const = default;
    };
    struct Loaded
    {
        Status status = Success;
        QString detail;
        std::unique_ptr<HiveNode> root;
        Stamp stamp;
    };
    struct Cached
    {
        Snapshot snapshot;
        Stamp stamp;
    };

    static Stamp stampOf(const struct stat& st);
    static bool stampNow(const QString& file, Stamp& stamp);
    static Loaded load(const QString& file);
    void remember(const QString& file, Status status, const QString& detail);

    mutable std::mutex m_mutex;
    std::map<QString, Cached> m_cache;
    std::map<std::pair<QString, int32_t>, QString> m_details;
};

} // namespace registry
