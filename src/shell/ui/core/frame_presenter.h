#pragma once
// The main frame without its widgets: the menu tree with its access keys and help texts, and what
// each command does. The three working windows (definitions, calculation, saved calculations) are
// plugged in by main through WorkWindows; each runs modally and returns when the user closes it,
// so at most one is open at a time and the frame takes no further command meanwhile. A working
// window that is not plugged in yet answers with a message that it is not there yet.

#include "platform/messages.h"

#include <QString>
#include <array>
#include <functional>
#include <vector>

namespace ui {

inline const QString kFrameTitle = QStringLiteral("V-Wolkan-Dazevovirovu V-2010.1");
inline constexpr int kFrameWidth = 505;  // dialog units
inline constexpr int kFrameHeight = 318;

enum class FrameCommand {
    None,  // a drop-down menu, no command of its own
    PrinterSetup,
    Exit,
    Definities,
    Berekenen,
    Bekijken,
    Tile,
    Cascade,
    ArrangeIcons,
    About,
};

struct MenuItem {
    QString text;      // "&" marks the access letter
    QString helpText;  // shown in the status bar
    FrameCommand command = FrameCommand::None;
    int number = 0;               // menu entry number in menu order (-1 is the menu bar)
    std::vector<MenuItem> items;  // a drop-down menu's items
};

// The menu bar from left to right: drop-down menus and commands on the bar itself.
[[nodiscard]] const std::vector<MenuItem>& frameMenu();

enum class WorkWindow { Definities, Berekenen, Bekijken };

// The working windows, set by main as they become available.
class WorkWindows {
public:
    using Run = std::function<void()>;  // opens the window and returns when it has closed
    void set(WorkWindow window, Run run) { m_runs[index(window)] = std::move(run); }
    [[nodiscard]] const Run& run(WorkWindow window) const { return m_runs[index(window)]; }

private:
    static std::size_t index(WorkWindow w) { return static_cast<std::size_t>(w); }
    std::array<Run, 3> m_runs;
};

// What the presenter asks of the frame's window.
class FrameView {
public:
    virtual ~FrameView() = default;
    virtual void openAbout() = 0;     // a new About window; returns at once
    virtual void printerSetup() = 0;  // the platform's printer dialog
    virtual void tileWindows() = 0;
    virtual void cascadeWindows() = 0;
    virtual void arrangeIcons() = 0;
    virtual void closeFrame() = 0;
    // A working window opened (true) or closed (false): the frame's commands are off meanwhile.
    virtual void setWorkWindowOpen(bool open) = 0;
};

// The message for a working window that is not in this version yet.
[[nodiscard]] platform::Message notAvailableMessage(WorkWindow window);

class FramePresenter {
public:
    FramePresenter(FrameView& view, const WorkWindows& windows, platform::MessageSink& messages);

    // A menu command chosen. While a working window is open every command is ignored (the
    // window is modal; this also holds when a command arrives by another road).
    void choose(FrameCommand command);
    [[nodiscard]] bool workWindowOpen() const { return m_open; }

private:
    void runWorkWindow(WorkWindow window);

    FrameView& m_view;
    const WorkWindows& m_windows;
    platform::MessageSink& m_messages;
    bool m_open = false;
};

}  // namespace ui
