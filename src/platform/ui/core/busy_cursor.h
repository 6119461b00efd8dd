#pragma once
// The busy cursor as presenters see it. A presenter shows it for the length of a scope and may
// restore it early, before a message that must appear with the normal cursor. Nesting is counted:
// the cursor is normal again when every scope has ended. Tests use RecordingBusyCursor to see
// whether the cursor was on when a message came.

#include <vector>

namespace ui {

class BusyCursor {
public:
    virtual ~BusyCursor() = default;
    virtual void begin() = 0;  // show the busy cursor (counted)
    virtual void end() = 0;    // undo one begin()
    [[nodiscard]] virtual bool busy() const = 0;
};

// Shows the busy cursor until the scope ends or restore() is called, whichever is first.
class BusyScope {
public:
    explicit BusyScope(BusyCursor& cursor) : m_cursor(&cursor) { m_cursor->begin(); }
    ~BusyScope() { restore(); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

    void restore() {
        if (m_cursor != nullptr) {
            m_cursor->end();
            m_cursor = nullptr;
        }
    }

private:
    BusyCursor* m_cursor;
};

// Counts without showing anything; `changes` keeps each transition (true = became busy).
class RecordingBusyCursor : public BusyCursor {
public:
    void begin() override {
        if (m_depth++ == 0) {
            changes.push_back(true);
        }
    }
    void end() override {
        if (m_depth > 0 && --m_depth == 0) {
            changes.push_back(false);
        }
    }
    [[nodiscard]] bool busy() const override { return m_depth > 0; }

    std::vector<bool> changes;

private:
    int m_depth = 0;
};

}  // namespace ui
