#pragma once
// The definitions browser (DEFINITIES, "SV02"): the company list top left ("?BRW1"), the
// sensitive locations of the selected company top right ("?BRW8") and its emission points along
// the bottom ("?BRW2"), each with its add, change and delete buttons ("?INSERT:BRW1",
// "?CHANGE:BRW1", "?DELETE:BRW1", ...), the copy button "?COPY" and "?CLOSE". The forms and the
// copy dialog open modally from here. Everything it does is the presenter's; this window shows
// the lists and passes the user's clicks and keys on.

#include "definitions/definities.h"
#include "shell/ui/program_dialog.h"

#include <array>
#include <functional>
#include <memory>

class QPushButton;

namespace ui {

class FunctionTableModel;
class RecordListView;

class DefinitiesWindow : public ProgramDialog, private definitions::DefinitiesView {
    Q_OBJECT
public:
    // May throw platform::FatalError when the record files cannot be opened.
    DefinitiesWindow(const definitions::DefinitionsContext& context, WindowServices& services,
                     QWidget* parent = nullptr);
    ~DefinitiesWindow() override;

    [[nodiscard]] definitions::DefinitiesPresenter& presenter() { return *m_presenter; }
    [[nodiscard]] RecordListView* list(definitions::BrowseList list) const;

    void done(int result) override;

private:
    // DefinitiesView
    void showForm(definitions::UpdateBedrijvenPresenter& form) override;
    void showForm(definitions::UpdateBronnenPresenter& form) override;
    void showForm(definitions::UpdateGeurGevLocPresenter& form) override;
    void showCopy(definitions::CopyBedrijfPresenter& copy) override;
    void listChanged(definitions::BrowseList list) override;

    struct ListControls {
        FunctionTableModel* model = nullptr;
        RecordListView* view = nullptr;
        QPushButton* insert = nullptr;
        QPushButton* change = nullptr;
        QPushButton* remove = nullptr;
    };
    void buildList(definitions::BrowseList list, QStringView useName, Place place,
                   QStringView statusText);
    void connectList(definitions::BrowseList list);
    void updateButtons();
    [[nodiscard]] ListControls& controls(definitions::BrowseList list) {
        return m_lists[static_cast<std::size_t>(list)];
    }

    const definitions::DefinitionsContext m_context;
    std::array<ListControls, 3> m_lists;
    QPushButton* m_copy = nullptr;
    std::array<bool, 3> m_reloading{};
    std::unique_ptr<definitions::DefinitiesPresenter> m_presenter;
};

// Opens the browser modally and returns when the user has closed it; a fatal error of the record
// files ends the program after its message.
void runDefinities(const definitions::DefinitionsContext& context, WindowServices& services);

}  // namespace ui
