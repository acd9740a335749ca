#pragma once

// A small host that places all ten user controls of the library by ProgID, keeps
// their design (place, size and stored properties) in a file and loads it back.
#include "platform/controlframework/ControlSite.h"

#include <QString>
#include <QWidget>

#include <memory>
#include <optional>
#include <vector>

class Gallery
{
public:
    struct Placement
    {
        QString progId;
        QString name;
        QString container; // the name of the control it lies on, or empty
        int left = 0, top = 0, width = 0, height = 0;
    };

    explicit Gallery(QWidget* window) : m_window(window) {}

    // Newly placed controls with a few properties set, as a designer would leave them.
    void placeNew();
    // The design as the host stores it: one JSON object per control.
    QString designText() const;
    bool saveDesign(const QString& path, QString* error = nullptr) const;
    // Places the controls of a stored design; false (and why) when it cannot be read.
    bool loadDesign(const QString& path, QString* error = nullptr);
    // Run-time calls that show what the controls do (a message, a selection).
    void showRunTimeState();

    controlframework::ControlSite* site(const QString& name) const;
    const std::vector<std::unique_ptr<controlframework::ControlSite>>& sites() const { return m_sites; }

private:
    controlframework::ControlSite& place(const Placement& p, const controlframework::PropertyBag* bag);

    QWidget* m_window;
    std::vector<Placement> m_placements;
    std::vector<std::unique_ptr<controlframework::ControlSite>> m_sites;
};

// Registers the library in a hive of its own for the life of the object.
class RegisteredLibrary
{
public:
    RegisteredLibrary();
    ~RegisteredLibrary();
    bool ok() const { return m_ok; }

private:
    bool m_ok = false;
};
