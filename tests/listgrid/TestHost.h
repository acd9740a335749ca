#pragma once

#include "controls/listgrid/Columns.h"
#include "controls/listgrid/ListControlHost.h"
#include "controls/listgrid/ListViewWnd.h"

#include "package/listwindow/ListWindow.h"

#include <QByteArray>
#include <QMetaType>

#include <functional>
#include <memory>
#include <vector>

Q_DECLARE_METATYPE(basic::Variant)

// A window that records every message and answers through a script.
class RecordingWindow : public vllist::Window
{
public:
    struct Sent
    {
        vllist::Message message;
        vllist::WParam wParam;
        vllist::LParam lParam;
    };
    vllist::LParam sendMessage(vllist::Message message, vllist::WParam wParam, vllist::LParam lParam) override
    {
        sent.push_back({message, wParam, lParam});
        return answer ? answer(message, wParam, lParam) : 0;
    }
    std::vector<Sent> sent;
    std::function<vllist::LParam(vllist::Message, vllist::WParam, vllist::LParam)> answer;
};

// The control as the wrapper sees it: a window (recording or real), its columns,
// and what the wrapper tells it.
class TestHost : public listgrid::ListControlHost
{
public:
    explicit TestHost(bool grid)
    {
        if (grid)
            wnd = std::make_shared<listgrid::CGridViewWnd>(this);
        else
            wnd = std::make_shared<listgrid::CListViewWnd>(this);
        cols = std::make_shared<listgrid::CColumns>(wnd);
    }
    ~TestHost() override { wnd->detach(); }

    // A real window of the host's class, offscreen.
    vllist::ListWindow& createRealWindow()
    {
        real = std::make_unique<vllist::ListWindow>(wnd->isGrid() ? vllist::ListWindow::Kind::Grid
                                                                  : vllist::ListWindow::Kind::List,
                                                    nullptr);
        real->resize(400, 200);
        window = real.get();
        return *real;
    }
    // The control is destroyed: objects still held must find no control.
    void destroy()
    {
        wnd->detach();
        window = nullptr;
        real.reset();
    }

    vllist::Window* listWindow() const override { return window; }
    void setModified() override { ++modified; }
    bool isUserMode() const override { return userMode; }
    bool isAutoRedraw() const override { return true; }
    std::shared_ptr<listgrid::CColumns> columns() const override { return cols; }
    void repaint() override { ++repaints; }
    void setCurrentItem(const basic::ObjectRef& item) override
    {
        ++currentItemSets;
        currentItem = item;
    }
    bool readFieldInfo(const QString& dataField, listgrid::FieldInfo& info) override
    {
        if (dataField != QLatin1String("Price"))
            return false;
        info = {12, vllist::sql::Double, 3};
        return true;
    }

    std::shared_ptr<listgrid::CListViewWnd> wnd;
    std::shared_ptr<listgrid::CColumns> cols;
    std::unique_ptr<vllist::ListWindow> real;
    vllist::Window* window = nullptr;
    int modified = 0;
    int repaints = 0;
    int currentItemSets = 0;
    basic::ObjectRef currentItem;
    bool userMode = true;
};

int runWrapperTests(int argc, char** argv);
int runColumnsTests(int argc, char** argv);
int runItemsTests(int argc, char** argv);
int runLibraryTests(int argc, char** argv);
int runListCtrlTests(int argc, char** argv);
int runGridCtrlTests(int argc, char** argv);
int runDragDropTests(int argc, char** argv);
int runComboBoxTests(int argc, char** argv);
int runBothControlsTests(int argc, char** argv);
