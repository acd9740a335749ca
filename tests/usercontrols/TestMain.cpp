#include "tests/usercontrols/TestMain.h"

#include <QApplication>
#include <QTest>

#include <algorithm>
#include <memory>

namespace testmain {

std::vector<std::pair<const char*, Factory>>& classes()
{
    static std::vector<std::pair<const char*, Factory>> list;
    return list;
}

} // namespace testmain

// Runs every class (in the order of their names, the library's own class first,
// whose last case unregisters it); an argument naming a class runs only that one.
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    auto list = testmain::classes();
    std::sort(list.begin(), list.end(), [](const auto& a, const auto& b) { return QByteArray(a.first) < QByteArray(b.first); });
    QStringList args = app.arguments();
    QString only;
    if (args.size() > 1 && args[1].startsWith(QLatin1String("tst_"))) {
        only = args[1];
        args.removeAt(1);
    }
    int failed = 0;
    for (const auto& [name, make] : list) {
        if (!only.isEmpty() && only != QLatin1String(name))
            continue;
        std::unique_ptr<QObject> test(make());
        failed += QTest::qExec(test.get(), args);
    }
    return failed;
}
