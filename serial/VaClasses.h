#pragma once

#include <functional>

// Base of the port's setting groups: an update counter and one change
// notification addressed to the owning port.
//
// Thread safety: window thread only.
class TVaPersistent {
public:
    TVaPersistent() = default;
    TVaPersistent(const TVaPersistent&) = delete;
    TVaPersistent& operator=(const TVaPersistent&) = delete;
    virtual ~TVaPersistent() = default;

    // Between BeginUpdate and the matching EndUpdate no notification goes out;
    // the last EndUpdate notifies once.
    void BeginUpdate() { ++updateCount_; }
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }

    // The owning port's reaction to a change. It may throw; the group's setter
    // passes the failure on.
    void SetOnChanged(std::function<void()> onChanged) { onChanged_ = std::move(onChanged); }

protected:
    void Changed();

private:
    int updateCount_ = 0;
    std::function<void()> onChanged_;
};
