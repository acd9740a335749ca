// A window holding one of each widget, for screenshots and for looking at them.
#include "platform/widgets/Animation.h"
#include "platform/widgets/DriveList.h"
#include "platform/widgets/FolderList.h"
#include "platform/widgets/ListView.h"
#include "platform/widgets/ToolBar.h"

#include <QApplication>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QStyle>
#include <QVBoxLayout>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Quillar widgets"));

    auto* toolbar = new widgets::ToolBar(&window);
    const QStyle* style = app.style();
    toolbar->addButton(QStringLiteral("Select &File"), QStringLiteral("SelectFile"),
                       QStringLiteral("Select the file to upload"),
                       style->standardIcon(QStyle::SP_DialogOpenButton));
    toolbar->addButton(QStringLiteral("&Validate"), QStringLiteral("ImportFile"),
                       QStringLiteral("Start Uploading file"),
                       style->standardIcon(QStyle::SP_DialogApplyButton));
    toolbar->addButton(QStringLiteral("&Import Log"), QStringLiteral("ErrorLog"),
                       QStringLiteral("View Import Log"),
                       style->standardIcon(QStyle::SP_FileDialogDetailedView));
    toolbar->addButton(QStringLiteral("&View File"), QStringLiteral("ViewFile"),
                       QStringLiteral("Open selected file in Notepad"),
                       style->standardIcon(QStyle::SP_FileIcon));
    toolbar->setButtonEnabled(3, false);
    window.addToolBar(toolbar);

    auto* central = new QWidget(&window);
    auto* grid = new QGridLayout(central);

    auto* companies = new widgets::ListView(central);
    companies->setObjectName(QStringLiteral("ListViewCompanyName"));
    companies->addColumn(QStringLiteral("No"), 40);
    companies->addColumn(QStringLiteral("Company Name"), 180);
    companies->addColumn(QStringLiteral("Version"), 60);
    companies->addColumn(QStringLiteral("Company Data Path"), 200);
    companies->setCheckboxes(true);
    const char* rows[][3] = {{"Demo Trading Ltd", "23.0", "C:\\Vorlen\\COMPANY.000"},
                             {"Northern Supplies", "22.1", "C:\\Vorlen\\COMPANY.001"},
                             {"Harbour Foods plc", "9.5", "D:\\Data\\HARBOUR"}};
    for (int i = 0; i < 3; ++i) {
        widgets::ListItem* item = companies->addItem(QString::number(i + 1));
        for (int c = 0; c < 3; ++c)
            item->setSubItem(c + 1, QString::fromLatin1(rows[i][c]));
    }
    companies->item(1)->setBold(true);
    companies->item(1)->setForeColor(Qt::red);
    companies->item(1)->setChecked(true);
    companies->setSelectedItem(companies->item(1));
    grid->addWidget(companies, 0, 0, 1, 2);

    auto* picker = new QGroupBox(QStringLiteral("Select Drive / Select Driectory"), central);
    auto* pickerLayout = new QVBoxLayout(picker);
    auto* drives = new widgets::DriveList(picker);
    auto* folders = new widgets::FolderList(picker);
    folders->setPath(QDir::rootPath());
    auto* shown = new QLabel(folders->path(), picker);
    pickerLayout->addWidget(drives);
    pickerLayout->addWidget(folders);
    pickerLayout->addWidget(shown);
    grid->addWidget(picker, 1, 0);

    auto* status = new QGroupBox(QStringLiteral("Import Status"), central);
    auto* statusLayout = new QVBoxLayout(status);
    auto* animation = new widgets::Animation(status);
    animation->setMinimumSize(120, 40);
    if (animation->open(QCoreApplication::applicationDirPath() + QStringLiteral("/import.dll")))
        animation->play();
    statusLayout->addWidget(animation);
    grid->addWidget(status, 1, 1);

    window.setCentralWidget(central);
    window.resize(640, 460);
    window.show();
    return app.exec();
}
