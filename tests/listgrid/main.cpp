#include "TestHost.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    int failed = 0;
    failed += runWrapperTests(argc, argv);
    failed += runColumnsTests(argc, argv);
    failed += runItemsTests(argc, argv);
    failed += runLibraryTests(argc, argv);
    failed += runListCtrlTests(argc, argv);
    failed += runGridCtrlTests(argc, argv);
    failed += runDragDropTests(argc, argv);
    failed += runComboBoxTests(argc, argv);
    failed += runBothControlsTests(argc, argv);
    return failed;
}
