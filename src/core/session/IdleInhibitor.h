#pragma once

#include <QString>

namespace velmor {

// Keeps the machine from idle suspend while held. Never blocks a suspend the user asks for.
class IdleInhibitor {
public:
    virtual ~IdleInhibitor() = default;
    virtual void acquire(const QString& reason) = 0;
    virtual void release() = 0;
};

// Does nothing: used where no session bus is wanted.
class NoIdleInhibitor final : public IdleInhibitor {
public:
    void acquire(const QString&) override {}
    void release() override {}
};

} // namespace velmor
