#pragma once
// The busy cursor on the screen: the application's override cursor, counted like BusyCursor.

#include "platform/ui/core/busy_cursor.h"

namespace ui {

class OverrideBusyCursor : public BusyCursor {
public:
    ~OverrideBusyCursor() override;
    void begin() override;
    void end() override;
    [[nodiscard]] bool busy() const override { return m_depth > 0; }

private:
    int m_depth = 0;
};

}  // namespace ui
