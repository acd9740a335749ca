#include "platform/forms/DefaultInstance.h"
#include "platform/forms/Form.h"
#include "platform/forms/WidgetFileDialogService.h"
#include "platform/forms/WidgetMessageService.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <functional>
#include <stdexcept>

using namespace forms;

namespace {

// A form that counts its load and unload handlers.
class CountingForm : public Form
{
public:
    static inline int loads = 0;
    static inline int unloads = 0;
    static inline bool visibleAtLoad = true;
    static inline bool touchesItselfAtLoad = false;
    static inline CountingForm* seenAtLoad = nullptr;

protected:
    void formLoad() override
    {
        ++loads;
        visibleAtLoad = isVisible();
        if (touchesItselfAtLoad)
            seenAtLoad = &DefaultInstance<CountingForm>::get();
    }
    void formUnload() override { ++unloads; }
};

class OtherForm : public Form
{
};

class FailingForm : public Form
{
public:
    static inline bool fail = true;

protected:
    void formLoad() override
    {
        if (fail)
            throw std::runtime_error("load failed");
    }
};

// A form shown modal by the tests; what it saw while it was shown.
class ModalForm : public Form
{
public:
    static inline int unloads = 0;
    bool wasModal = false;
    QWindow* transientParentSeen = nullptr;

protected:
    void formUnload() override { ++unloads; }
};

void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Runs the check on the first modal widget of type W that shows up; closes any box
// left open so that a failing check cannot hang the test.
template <class W> void whenShown(std::function<void(W*)> act)
{
    auto* timer = new QTimer;
    int tries = 0;
    QObject::connect(timer, &QTimer::timeout, timer, [timer, act, tries]() mutable {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* found = qobject_cast<W*>(widget); found && found->isVisible()) {
                timer->stop();
                timer->deleteLater();
                act(found);
                if (found->isVisible())
                    found->reject();
                return;
            }
        }
        if (++tries > 200) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start(10);
}

struct SeenBox
{
    QString text;
    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
};

} // namespace

class TestFormsWidgets : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup();
    void messageBox_data();
    void messageBox();
    void escapeAnswer_data();
    void escapeAnswer();
    void inputBoxAccepted();
    void inputBoxCancelled();
    void defaultInstanceLoadsHiddenOnce();
    void unloadThenTouchLoadsAgain();
    void loadHandlerTouchingItselfGetsSameForm();
    void closingTheWindowUnloads();
    void failedLoadLeavesNoForm();
    void oneInstancePerFormClass();
    void modalOverItsOwner();
    void deletingTheOwnerKeepsTheModalForm();
    void unloadedWhileModalReturns();
    void fileDialogNameFilters();
    void fileDialogChoosesAFile();
    void fileDialogCancelled();
};

void TestFormsWidgets::cleanup()
{
    DefaultInstance<CountingForm>::unload();
    DefaultInstance<OtherForm>::unload();
    DefaultInstance<FailingForm>::unload();
    DefaultInstance<ModalForm>::unload();
    flushDeletes();
    ModalForm::unloads = 0;
    CountingForm::loads = 0;
    CountingForm::unloads = 0;
    CountingForm::touchesItselfAtLoad = false;
    CountingForm::seenAtLoad = nullptr;
}

void TestFormsWidgets::messageBox_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("shownTitle");
    QTest::addColumn<int>("icon");
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("defaultButton");
    QTest::addColumn<int>("click");
    QTest::addColumn<int>("answer");

    QTest::addRow("OKOnly without title")
        << int(OKOnly) << QString() << "Quillar" << int(QMessageBox::NoIcon) << int(QMessageBox::Ok)
        << int(QMessageBox::Ok) << int(QMessageBox::Ok) << int(AnswerOK);
    QTest::addRow("YesNo question default No")
        << int(YesNo | Question | DefaultButton2) << "Import"
        << "Import" << int(QMessageBox::Question) << int(QMessageBox::Yes | QMessageBox::No)
        << int(QMessageBox::No) << int(QMessageBox::Yes) << int(AnswerYes);
    QTest::addRow("YesNoCancel exclamation click No")
        << int(YesNoCancel | Exclamation) << "Line Columns"
        << "Line Columns" << int(QMessageBox::Warning)
        << int(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel) << int(QMessageBox::Yes)
        << int(QMessageBox::No) << int(AnswerNo);
    QTest::addRow("OKCancel critical default Cancel")
        << int(OKCancel | Critical | DefaultButton2) << "Error"
        << "Error" << int(QMessageBox::Critical) << int(QMessageBox::Ok | QMessageBox::Cancel)
        << int(QMessageBox::Cancel) << int(QMessageBox::Cancel) << int(AnswerCancel);
    QTest::addRow("AbortRetryIgnore information third")
        << int(AbortRetryIgnore | Information | DefaultButton3) << "t"
        << "t" << int(QMessageBox::Information)
        << int(QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore) << int(QMessageBox::Ignore)
        << int(QMessageBox::Retry) << int(AnswerRetry);
    QTest::addRow("RetryCancel") << int(RetryCancel) << "t"
                                 << "t" << int(QMessageBox::NoIcon)
                                 << int(QMessageBox::Retry | QMessageBox::Cancel) << int(QMessageBox::Retry)
                                 << int(QMessageBox::Retry) << int(AnswerRetry);
}

void TestFormsWidgets::messageBox()
{
    QFETCH(int, style);
    QFETCH(QString, title);
    QFETCH(QString, shownTitle);
    QFETCH(int, icon);
    QFETCH(int, buttons);
    QFETCH(int, defaultButton);
    QFETCH(int, click);
    QFETCH(int, answer);

    SeenBox seen;
    bool found = false;
    whenShown<QMessageBox>([&](QMessageBox* box) {
        found = true;
        seen.text = box->text();
        seen.title = box->windowTitle();
        seen.icon = box->icon();
        seen.buttons = box->standardButtons();
        seen.defaultButton =
            box->defaultButton() ? box->standardButton(box->defaultButton()) : QMessageBox::NoButton;
        if (QAbstractButton* button = box->button(QMessageBox::StandardButton(click)))
            QTest::mouseClick(button, Qt::LeftButton);
    });

    WidgetMessageService service;
    const Answer result =
        service.messageBox(QStringLiteral("Proceed with <b>invoice</b> import?"), style, title);
    QVERIFY(found);
    QCOMPARE(seen.text, QStringLiteral("Proceed with <b>invoice</b> import?"));
    QCOMPARE(seen.title, shownTitle);
    QCOMPARE(int(seen.icon), icon);
    QCOMPARE(int(seen.buttons), buttons);
    QCOMPARE(int(seen.defaultButton), defaultButton);
    QCOMPARE(int(result), answer);
}

void TestFormsWidgets::escapeAnswer_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("answer");
    QTest::addRow("OKOnly gives OK") << int(OKOnly) << int(AnswerOK);
    QTest::addRow("YesNoCancel gives Cancel") << int(YesNoCancel) << int(AnswerCancel);
    QTest::addRow("YesNo gives No") << int(YesNo) << int(AnswerNo);
    QTest::addRow("AbortRetryIgnore gives Abort")
        << int(AbortRetryIgnore | DefaultButton2) << int(AnswerAbort);
}

void TestFormsWidgets::escapeAnswer()
{
    QFETCH(int, style);
    QFETCH(int, answer);
    whenShown<QMessageBox>([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); });
    WidgetMessageService service;
    QCOMPARE(int(service.messageBox(QStringLiteral("text"), style, {})), answer);
}

void TestFormsWidgets::inputBoxAccepted()
{
    QString label;
    QString title;
    QString initial;
    whenShown<QInputDialog>([&](QInputDialog* dialog) {
        label = dialog->labelText();
        title = dialog->windowTitle();
        initial = dialog->textValue();
        auto* edit = dialog->findChild<QLineEdit*>();
        QVERIFY(edit);
        edit->clear();
        QTest::keyClicks(edit, QStringLiteral("new name"));
        static_cast<QDialog*>(dialog)->accept(); // QFileDialog::accept, through the public base
    });
    WidgetMessageService service;
    const std::optional<QString> text =
        service.inputBox(QStringLiteral("Enter a name"), {}, QStringLiteral("old"), forms::InputEcho::Normal);
    QCOMPARE(label, QStringLiteral("Enter a name"));
    QCOMPARE(title, QStringLiteral("Quillar"));
    QCOMPARE(initial, QStringLiteral("old"));
    QCOMPARE(text, std::optional<QString>(QStringLiteral("new name")));
}

void TestFormsWidgets::inputBoxCancelled()
{
    whenShown<QInputDialog>([](QInputDialog* dialog) { dialog->reject(); });
    WidgetMessageService service;
    QCOMPARE(service.inputBox(QStringLiteral("Enter"), QStringLiteral("T"), QStringLiteral("old"), forms::InputEcho::Normal),
             std::nullopt);
}

void TestFormsWidgets::defaultInstanceLoadsHiddenOnce()
{
    QVERIFY(!DefaultInstance<CountingForm>::isLoaded());
    QCOMPARE(CountingForm::loads, 0);

    CountingForm& first = DefaultInstance<CountingForm>::get();
    QVERIFY(DefaultInstance<CountingForm>::isLoaded());
    QCOMPARE(CountingForm::loads, 1);
    QVERIFY(!CountingForm::visibleAtLoad);
    QVERIFY(!first.isVisible());

    CountingForm& second = DefaultInstance<CountingForm>::get();
    QCOMPARE(&second, &first);
    QCOMPARE(CountingForm::loads, 1);
    QCOMPARE(CountingForm::unloads, 0);
}

void TestFormsWidgets::unloadThenTouchLoadsAgain()
{
    QPointer<CountingForm> first = &DefaultInstance<CountingForm>::get();
    first->show();
    DefaultInstance<CountingForm>::unload();
    QVERIFY(!DefaultInstance<CountingForm>::isLoaded());
    QCOMPARE(CountingForm::unloads, 1);
    QVERIFY(!first->isVisible());

    // Unloading twice runs the handler once.
    DefaultInstance<CountingForm>::unload();
    first->unload();
    QCOMPARE(CountingForm::unloads, 1);

    flushDeletes();
    QVERIFY(first.isNull());

    CountingForm& again = DefaultInstance<CountingForm>::get();
    QCOMPARE(CountingForm::loads, 2);
    QVERIFY(!again.isVisible());
}

void TestFormsWidgets::loadHandlerTouchingItselfGetsSameForm()
{
    CountingForm::touchesItselfAtLoad = true;
    CountingForm& form = DefaultInstance<CountingForm>::get();
    QCOMPARE(CountingForm::seenAtLoad, &form);
    QCOMPARE(CountingForm::loads, 1);
}

void TestFormsWidgets::closingTheWindowUnloads()
{
    CountingForm& form = DefaultInstance<CountingForm>::get();
    form.show();
    QVERIFY(form.close());
    QCOMPARE(CountingForm::unloads, 1);
    QVERIFY(!DefaultInstance<CountingForm>::isLoaded());
}

void TestFormsWidgets::failedLoadLeavesNoForm()
{
    FailingForm::fail = true;
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, DefaultInstance<FailingForm>::get());
    QVERIFY(!DefaultInstance<FailingForm>::isLoaded());
    flushDeletes();

    FailingForm::fail = false;
    DefaultInstance<FailingForm>::get();
    QVERIFY(DefaultInstance<FailingForm>::isLoaded());
}

void TestFormsWidgets::oneInstancePerFormClass()
{
    DefaultInstance<CountingForm>::get();
    QVERIFY(!DefaultInstance<OtherForm>::isLoaded());
    DefaultInstance<OtherForm>::get();
    DefaultInstance<OtherForm>::unload();
    QVERIFY(DefaultInstance<CountingForm>::isLoaded());
    QVERIFY(!DefaultInstance<OtherForm>::isLoaded());
}

namespace {

// While the modal form is up: records what it sees, then runs `then` (default: hide).
void whileModal(ModalForm& form, std::function<void()> then = {})
{
    QTimer::singleShot(0, &form, [&form, then] {
        form.wasModal = QApplication::activeModalWidget() == &form && form.isModal();
        form.transientParentSeen = form.windowHandle() ? form.windowHandle()->transientParent() : nullptr;
        if (then)
            then();
        else
            form.hide();
    });
}

} // namespace

void TestFormsWidgets::modalOverItsOwner()
{
    CountingForm& owner = DefaultInstance<CountingForm>::get();
    owner.show();
    ModalForm& form = DefaultInstance<ModalForm>::get();
    whileModal(form);
    form.showModal(&owner);

    QVERIFY(form.wasModal);
    QCOMPARE(form.transientParentSeen, owner.windowHandle());
    QCOMPARE(form.parent(), nullptr);
    // Hidden, it stays loaded and is modal no more.
    QVERIFY(DefaultInstance<ModalForm>::isLoaded());
    QVERIFY(!form.isVisible());
    QVERIFY(!form.isModal());
}

// The owner goes while the form is up: the form stays, and its unload handler
// still runs when it is unloaded.
void TestFormsWidgets::deletingTheOwnerKeepsTheModalForm()
{
    auto* owner = new OtherForm;
    owner->load();
    owner->show();
    ModalForm& form = DefaultInstance<ModalForm>::get();
    QPointer<ModalForm> alive(&form);
    bool visibleAfterOwnerWent = false;
    whileModal(form, [&form, owner, &visibleAfterOwnerWent] {
        delete owner;
        visibleAfterOwnerWent = form.isVisible();
        form.hide();
    });
    form.showModal(owner);

    QVERIFY(visibleAfterOwnerWent);
    QVERIFY(alive);
    QVERIFY(DefaultInstance<ModalForm>::isLoaded());
    DefaultInstance<ModalForm>::unload();
    QCOMPARE(ModalForm::unloads, 1);
}

void TestFormsWidgets::unloadedWhileModalReturns()
{
    CountingForm& owner = DefaultInstance<CountingForm>::get();
    ModalForm& form = DefaultInstance<ModalForm>::get();
    QPointer<ModalForm> alive(&form);
    whileModal(form, [&form] { form.unload(); });
    form.showModal(&owner);
    QCOMPARE(ModalForm::unloads, 1);
    QVERIFY(!DefaultInstance<ModalForm>::isLoaded());
    flushDeletes();
    QVERIFY(!alive);
}

void TestFormsWidgets::fileDialogNameFilters()
{
    const QStringList filters = nameFiltersOf(QStringLiteral("Import File(*.csv)|*.csv|All Files|*.*"));
    QCOMPARE(filters, (QStringList{"Import File(*.csv) (*.[cC][sS][vV])", "All Files (*)"}));

    // The patterns find names in either case, and "*.*" also names without a dot.
    QTemporaryDir dir;
    for (const char* name : {"ORDERS.CSV", "orders.csv", "notes.txt", "README"}) {
        QFile f(dir.filePath(QLatin1String(name)));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    const QDir folder(dir.path());
    QCOMPARE(folder.entryList({QStringLiteral("*.[cC][sS][vV]")}, QDir::Files, QDir::Name),
             (QStringList{"ORDERS.CSV", "orders.csv"}));
    QCOMPARE(folder.entryList({QStringLiteral("*")}, QDir::Files).size(), 4);
}

void TestFormsWidgets::fileDialogChoosesAFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ORDERS.CSV"));
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    QString title, folder, control;
    QStringList filters;
    whenShown<QFileDialog>([&](QFileDialog* dialog) {
        title = dialog->windowTitle();
        control = dialog->objectName();
        folder = dialog->directory().absolutePath();
        filters = dialog->nameFilters();
        // Typed into the name box: selectFile waits for the folder to be listed.
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QVERIFY(name);
        name->setText(QStringLiteral("ORDERS.CSV"));
        static_cast<QDialog*>(dialog)->accept(); // QFileDialog::accept, through the public base
    });
    WidgetFileDialogService service;
    const std::optional<QString> chosen = service.openFile(
        {QStringLiteral("Select import file"), QStringLiteral("Import File(*.csv)|*.csv"), 1, dir.path(), QString(),
         QStringLiteral("CommonDialog1")});
    QCOMPARE(title, QStringLiteral("Select import file"));
    QCOMPARE(control, QStringLiteral("CommonDialog1"));
    QCOMPARE(folder, QDir(dir.path()).absolutePath());
    QCOMPARE(filters, QStringList{"Import File(*.csv) (*.[cC][sS][vV])"});
    QCOMPARE(chosen, std::optional<QString>(path));
}

void TestFormsWidgets::fileDialogCancelled()
{
    whenShown<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
    WidgetFileDialogService service;
    QCOMPARE(service.openFile({QStringLiteral("Select import file"), QStringLiteral("Import File(*.csv)|*.csv"), 1,
                               QString(), QString(), QString()}),
             std::nullopt);
}

QTEST_MAIN(TestFormsWidgets)
#include "tst_forms_widgets.moc"
