// Progress reports of the file operations.
#pragma once

#include <cstdint>
#include <functional>

namespace brindlock {

// Called with bytes done and bytes in total; returns false to abort the
// operation. May be empty: the operation then reports nothing and cannot be
// aborted.
using ProgressCallback = std::function<bool(int32_t done, int32_t total)>;

// Fits 64-bit byte counts into the callback's signed 32-bit range. Totals up
// to 2^31 - 1 are reported exactly; larger ones are divided by the smallest
// power of two that makes them fit, so done <= total holds for every report
// and the last report of a finished operation is (total, total).
class ProgressScale {
public:
    explicit ProgressScale(int64_t total) : total_(total < 0 ? 0 : total) {
        while ((total_ >> shift_) > INT32_MAX) ++shift_;
    }
    int32_t Total() const { return static_cast<int32_t>(total_ >> shift_); }
    int32_t Of(int64_t done) const {
        if (done < 0) done = 0;
        if (done > total_) done = total_;
        return static_cast<int32_t>(done >> shift_);
    }

private:
    int64_t total_;
    int shift_ = 0;
};

// Calls `progress` when present; true means go on.
inline bool Report(const ProgressCallback& progress, const ProgressScale& scale, int64_t done) {
    return !progress || progress(scale.Of(done), scale.Total());
}

}  // namespace brindlock
