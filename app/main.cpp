// Quillar: validates sales-document import files and posts them into the
// accounting package's company data.
#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Quillar"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUILLAR_VERSION));

    // The windows (login, main window, batch upload, settings, layout editor) are
    // not built yet; until they are, the program only reports what it would open.
    QTextStream out(stdout);
    const QString company = qEnvironmentVariable("QUILLAR_DEMO_COMPANY");
    out << "Quillar " << QCoreApplication::applicationVersion() << "\n";
    if (!company.isEmpty())
        out << "Company data folder: " << company << "\n";
    out << "The windows of the program are not built yet: the import runs in the tests "
           "and the benchmarks only.\n";
    return 0;
}
