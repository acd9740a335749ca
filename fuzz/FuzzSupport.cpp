#include "fuzz/FuzzSupport.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace fuzzing {

QString inputFile(const uint8_t* data, size_t size, const char* name)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QString::fromLatin1(name));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size))
        fail("cannot write the input file");
    return path;
}

void ensureGuiApplication()
{
    if (QCoreApplication::instance())
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    static auto app = std::make_unique<QGuiApplication>(argc, argv);
}

void fail(const char* what)
{
    std::fprintf(stderr, "finding: %s\n", what);
    std::abort();
}

} // namespace fuzzing
