// quillar-demo-setup: sets up the demo folder of scripts/run-demo (see docs/demo.md).
// The settings go into the demo's own hives, whatever the environment names: the
// user's real settings are never read or written.
#include "tools/demo/DemoKit.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

namespace {

const char* const Usage =
    "usage: quillar-demo-setup <demo folder> [--reset] [--invoices | --orders]\n"
    "  --reset     remove what the demo made there, then set it up afresh\n"
    "  --invoices  import invoices and credit notes (invoices.csv, invoices-with-errors.csv)\n"
    "  --orders    import sales orders (sales-orders.csv)\n";

int usage()
{
    std::fputs(Usage, stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QString folder;
    demo::SetupOptions options;
    options.seedFile = QStringLiteral(QUILLAR_DEMO_SEED);
    options.importFiles = QStringLiteral(QUILLAR_DEMO_FILES);
    for (const QString& arg : app.arguments().mid(1)) {
        if (arg == QLatin1String("--reset"))
            options.reset = true;
        else if (arg == QLatin1String("--invoices") || arg == QLatin1String("--orders")) {
            if (options.mode)
                return usage();
            options.mode =
                arg == QLatin1String("--orders") ? demo::ImportMode::SalesOrders : demo::ImportMode::Invoices;
        } else if (arg.startsWith(QLatin1String("--")) || !folder.isEmpty())
            return usage();
        else
            folder = arg;
    }
    if (folder.isEmpty())
        return usage();

    const demo::DemoPaths paths(folder);
    demo::useDemoHives(paths);
    try {
        for (const QString& line : demo::setUpDemo(paths, options))
            std::printf("%s\n", qPrintable(line));
    } catch (const demo::DemoError& e) {
        std::fprintf(stderr, "quillar-demo-setup: %s\n", qPrintable(e.message()));
        return 1;
    }
    std::printf("Log in to Quillar as \"%s\" with the password \"%s\".\n", demo::DemoLogin,
                demo::DemoPassword);
    return 0;
}
