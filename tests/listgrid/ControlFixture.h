#pragma once

#include "controls/listgrid/Columns.h"
#include "controls/listgrid/ListGridControl.h"
#include "controls/listgrid/host/ContainerForm.h"

#include "package/datacontrol/DataControlInterface.h"
#include "package/listwindow/ListWindow.h"

#include "platform/automation/MemberTable.h"
#include "platform/basic/RuntimeError.h"

#include <QTest>

#include <QTableView>

#include <memory>
#include <vector>

// A control of either class on a container form, shown offscreen, with every event
// it raises recorded (and answered through `onEvent` when a test sets it).
template <class Control>
struct ControlOnForm
{
    struct Raised
    {
        QString name;
        automation::Args args;
    };

    explicit ControlOnForm(const QString& name = QStringLiteral("ctl"), bool place = true)
    {
        form.resize(640, 400);
        if (place)
            placeOnForm(name);
    }
    ~ControlOnForm() { site = nullptr; }

    void placeOnForm(const QString& name, const controlframework::PropertyBag* stored = nullptr)
    {
        site = &form.addControl(control, QStringLiteral("Vorlen.Ctrl"), name, int32_t(tabIndex++));
        site->onEvent = [this](automation::DispId, const QString& event, automation::Args& args) {
            raised.push_back({event, args});
            if (onEvent)
                onEvent(event, args);
        };
        if (stored)
            site->load(*stored);
        else
            site->initNew();
        site->move(150, 150, 7500, 4500);
        form.show();
        site->setVisible(true);
    }

    automation::ObjectRef object() const { return site->object(); }
    vllist::ListWindow& window() const { return *control->window(); }
    QTableView& view() const { return *control->window()->view(); }
    int count(const QString& event) const
    {
        int n = 0;
        for (const auto& r : raised)
            n += r.name == event ? 1 : 0;
        return n;
    }
    // Columns "Code", "Name" and "Balance" (Double), replacing the default one.
    void addColumns()
    {
        auto cols = control->columns();
        cols->clear();
        cols->add(basic::Variant::missing(), QStringLiteral("Code"), QStringLiteral("Code"), int16_t(8));
        cols->add(basic::Variant::missing(), QStringLiteral("Name"), QStringLiteral("Name"), int16_t(20));
        const auto balance =
            cols->add(basic::Variant::missing(), QStringLiteral("Balance"), QStringLiteral("Balance"), int16_t(10));
        balance->setDataType(listgrid::lstDataDouble);
    }
    QString cellText(int row, int column) const { return view().model()->index(row, column).data().toString(); }

    listgrid::ContainerForm form;
    std::shared_ptr<Control> control = std::make_shared<Control>();
    listgrid::FormControlSite* site = nullptr;
    std::vector<Raised> raised;
    std::function<void(const QString&, automation::Args&)> onEvent;
    int tabIndex = 0;
};

// Setting an object that is no data control as DataSource is refused with the
// library's error, and leaves the control unbound.
template <class Form>
void expectDataSourceRefused(Form& f, const basic::ObjectRef& wrong)
{
    try {
        f.object()->put(QStringLiteral("DataSource"), basic::Variant(wrong));
        QFAIL("no error");
    } catch (const basic::RuntimeError& e) {
        QCOMPARE(e.number(), int32_t(0x800A0035u));
        QCOMPARE(e.description(), QStringLiteral("Data Source is not valid"));
    }
    QVERIFY(!f.control->isBound());
}

// A data control in memory: records of code, name, balance, some of them deleted.
class MemoryData : public automation::Object, public vldata::DataControlInterface
{
public:
    struct Record
    {
        QString code;
        QString name;
        double balance = 0;
        bool deleted = false;
    };

    MemoryData()
    {
        m_layout = std::make_shared<vldata::FieldLayout>();
        m_layout->m_fields = {field("ACCOUNT_REF", 8, 12, 0), field("NAME", 30, 12, 0), field("BALANCE", 8, 8, 2)};
    }
    QString className() const override { return QStringLiteral("Data"); }
    automation::DispId idOfName(const QString& name) const override { automation::throwUnknownName(name); }
    basic::Variant invoke(automation::DispId id, automation::Invoke, automation::Args&, const basic::Variant&) override
    {
        automation::throwMemberNotFound(id);
    }

    int32_t IsEOF(uint8_t& eof) const override
    {
        eof = m_position >= int32_t(records.size()) ? 1 : 0;
        return 0;
    }
    int32_t GetFieldLayout(std::shared_ptr<vldata::FieldLayout>& layout) override
    {
        if (noLayout)
            return int32_t(0x80004005u);
        layout = m_layout;
        return 0;
    }
    int32_t GetRecordCount(int32_t& count) const override
    {
        count = int32_t(records.size());
        return 0;
    }
    int32_t MoveToRecord(int32_t recordNumber) override
    {
        moves.push_back(recordNumber);
        m_position = recordNumber - 1;
        return 0;
    }
    int32_t MoveToFirstRecord() override
    {
        m_position = 0;
        return 0;
    }
    int32_t MoveToNextRecord() override
    {
        ++m_position;
        return 0;
    }
    int32_t FindRecord(const basic::Variant& text, const basic::Variant& fieldName, const basic::Variant& startRow,
                       const basic::Variant&, int32_t& result) const override
    {
        finds.push_back({text, fieldName, startRow});
        result = -1;
        for (int32_t r = startRow.intValue(); r < int32_t(records.size()); ++r)
            if (records[size_t(r)].name.startsWith(text.stringValue(), Qt::CaseInsensitive)) {
                result = r;
                break;
            }
        return 0;
    }
    int32_t ReadRecord(int32_t& status) override
    {
        const Record& r = records.at(size_t(m_position));
        status = r.deleted ? 1 : 0;
        m_layout->m_fields[0].value = r.code;
        m_layout->m_fields[1].value = r.name;
        m_layout->m_fields[2].value = r.balance;
        ++reads;
        return 0;
    }

    std::vector<Record> records;
    bool noLayout = false;
    int reads = 0;
    mutable std::vector<int32_t> moves;
    mutable std::vector<std::vector<basic::Variant>> finds;

private:
    static vldata::Field field(const char* name, int32_t size, int16_t sqlType, int16_t decimals)
    {
        vldata::Field f;
        f.name = QLatin1String(name);
        f.size = size;
        f.sqlType = sqlType;
        f.decimalPlaces = decimals;
        return f;
    }
    std::shared_ptr<vldata::FieldLayout> m_layout;
    int32_t m_position = 0;
};
