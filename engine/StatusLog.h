#pragma once

#include <string>

namespace dnl {

// Where every step of a backup or a conversion is reported. Each call appends one finished line;
// nothing ever removes a line.
class StatusLog {
public:
    virtual ~StatusLog() = default;
    virtual void AddLine(const std::string& text) = 0;
};

// The only thing the engine asks of a user interface: show that a run is busy, then show that it
// is not.
class BusyCursor {
public:
    virtual ~BusyCursor() = default;
    virtual void ShowBusy() = 0;
    virtual void ShowNormal() = 0;
};

}  // namespace dnl
