#include "frame_presenter.h"

namespace ui {

const std::vector<MenuItem>& frameMenu() {
    static const std::vector<MenuItem> menu = {
        {QStringLiteral("&Algemeen"),
         {},
         FrameCommand::None,
         -2,
         {{QStringLiteral("&Printer Setup ..."),
           QStringLiteral("Instellen van de printer"),
           FrameCommand::PrinterSetup,
           -3,
           {}},
          {QStringLiteral("E&xit"),
           QStringLiteral("Verlaat het programma"),
           FrameCommand::Exit,
           -4,
           {}}}},
        {QStringLiteral("&Definities"),
         QStringLiteral("Definieer bedrijven met bijbehorende bronnen en geurgevoelige locaties"),
         FrameCommand::Definities,
         -5,
         {}},
        {QStringLiteral("&Berekenen"),
         QStringLiteral("Maak berekeningen van geurbelasting van bedrijven"),
         FrameCommand::Berekenen,
         -6,
         {}},
        {QStringLiteral("Be&kijken"),
         QStringLiteral("Bekijk de resultaten van berekeningen"),
         FrameCommand::Bekijken,
         -7,
         {}},
        {QStringLiteral("&Window"),
         {},
         FrameCommand::None,
         -8,
         {{QStringLiteral("T&ile"),
           QStringLiteral("Arrange multiple opened windows"),
           FrameCommand::Tile,
           -9,
           {}},
          {QStringLiteral("&Cascade"),
           QStringLiteral("Arrange multiple opened windows"),
           FrameCommand::Cascade,
           -10,
           {}},
          {QStringLiteral("&Arrange Icons"),
           QStringLiteral("Arrange the icons for minimized windows"),
           FrameCommand::ArrangeIcons,
           -11,
           {}}}},
        {QStringLiteral("&Over V-Wolkan"),
         QStringLiteral("Over V_Wolkan Vaduvevedu"),
         FrameCommand::About,
         -12,
         {}},
    };
    return menu;
}

platform::Message notAvailableMessage(WorkWindow window) {
    QString name;
    switch (window) {
        case WorkWindow::Definities:
            name = QStringLiteral("Definities");
            break;
        case WorkWindow::Berekenen:
            name = QStringLiteral("Berekenen");
            break;
        case WorkWindow::Bekijken:
            name = QStringLiteral("Bekijken");
            break;
    }
    return platform::Message{
        QString(),
        QStringLiteral("Het venster \"") + name +
            QStringLiteral("\" is in deze versie van het programma nog niet beschikbaar."),
        platform::Icon::Information,
        platform::Ok,
        platform::Ok,
        false};
}

FramePresenter::FramePresenter(FrameView& view, const WorkWindows& windows,
                               platform::MessageSink& messages)
    : m_view(view), m_windows(windows), m_messages(messages) {}

void FramePresenter::runWorkWindow(WorkWindow window) {
    const WorkWindows::Run& run = m_windows.run(window);
    if (!run) {
        m_messages.show(notAvailableMessage(window));
        return;
    }
    m_open = true;
    m_view.setWorkWindowOpen(true);
    // The frame takes commands again however the window ends.
    struct Reopen {
        FramePresenter* p;
        ~Reopen() {
            p->m_open = false;
            p->m_view.setWorkWindowOpen(false);
        }
    } reopen{this};
    run();
}

void FramePresenter::choose(FrameCommand command) {
    if (m_open) {
        return;
    }
    switch (command) {
        case FrameCommand::Definities:
            runWorkWindow(WorkWindow::Definities);
            break;
        case FrameCommand::Berekenen:
            runWorkWindow(WorkWindow::Berekenen);
            break;
        case FrameCommand::Bekijken:
            runWorkWindow(WorkWindow::Bekijken);
            break;
        case FrameCommand::About:
            m_view.openAbout();
            break;
        case FrameCommand::PrinterSetup:
            m_view.printerSetup();
            break;
        case FrameCommand::Tile:
            m_view.tileWindows();
            break;
        case FrameCommand::Cascade:
            m_view.cascadeWindows();
            break;
        case FrameCommand::ArrangeIcons:
            m_view.arrangeIcons();
            break;
        case FrameCommand::Exit:
            m_view.closeFrame();
            break;
        case FrameCommand::None:
            break;
    }
}

}  // namespace ui
