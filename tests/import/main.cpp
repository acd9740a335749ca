#include <QCoreApplication>

int runLayoutFilesTests(int argc, char** argv);
int runImportLineTests(int argc, char** argv);
int runVorlenConnectionTests(int argc, char** argv);
int runStageOneTests(int argc, char** argv);
int runRealPackageTests(int argc, char** argv);
int runStageTwoTests(int argc, char** argv);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    int failed = 0;
    failed += runLayoutFilesTests(argc, argv);
    failed += runImportLineTests(argc, argv);
    failed += runVorlenConnectionTests(argc, argv);
    failed += runStageOneTests(argc, argv);
    failed += runRealPackageTests(argc, argv);
    failed += runStageTwoTests(argc, argv);
    return failed;
}
