// Runs a harness once over every file of the folders and files given (the seed
// corpus): the regression run of the normal builds, without libFuzzer.
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv)
{
    QStringList files;
    for (int i = 1; i < argc; ++i) {
        const QString given = QFile::decodeName(argv[i]);
        if (QFileInfo(given).isDir()) {
            QDirIterator it(given, QDir::Files, QDirIterator::Subdirectories);
            while (it.hasNext())
                files << it.next();
        } else {
            files << given;
        }
    }
    files.sort();
    if (files.isEmpty()) {
        std::fprintf(stderr, "no input files\n");
        return 1;
    }
    for (const QString& path : files) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
            return 1;
        }
        const QByteArray bytes = file.readAll();
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()));
    }
    std::printf("%lld inputs run\n", static_cast<long long>(files.size()));
    return 0;
}
