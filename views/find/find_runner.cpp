// The search thread: where the next or previous hit is, then how many hits
// there are and which one it is, from an index that only counts new bytes.
#include "views/find/find_runner.h"

#include <algorithm>
#include <new>

FindRunner::FindRunner(const ByteSource& source, std::int32_t chunk) : source_(source), chunk_(chunk) {}

FindRunner::~FindRunner()
{
    cancel();
}

void FindRunner::start(FindRequest request)
{
    cancel();
    running_ = true;
    worker_ = std::thread([this, request = std::move(request)] {
        try {
            run(request);
        } catch (const std::bad_alloc&) {
            index_ = HitIndex{};  // a count cut short by memory is no count
            report(FindReport{FindReport::Kind::Failed});
        }
        running_ = false;
    });
}

void FindRunner::cancel()
{
    cancel_ = true;
    if (worker_.joinable()) worker_.join();
    cancel_ = false;
    running_ = false;
    std::lock_guard<std::mutex> hold(reports_lock_);
    reports_.clear();
}

void FindRunner::forget()
{
    cancel();
    index_ = HitIndex{};
}

std::optional<FindReport> FindRunner::poll()
{
    std::lock_guard<std::mutex> hold(reports_lock_);
    if (reports_.empty()) return std::nullopt;
    FindReport r = reports_.front();
    reports_.pop_front();
    return r;
}

bool FindRunner::busy() const
{
    if (running_) return true;
    std::lock_guard<std::mutex> hold(reports_lock_);
    return !reports_.empty();
}

void FindRunner::report(const FindReport& r)
{
    std::lock_guard<std::mutex> hold(reports_lock_);
    reports_.push_back(r);
}

void FindRunner::run(const FindRequest& request)
{
    const Matcher matcher(request.pattern);
    ChunkScanner scan(source_, matcher, &cancel_, chunk_);
    std::int32_t hit = -1;
    if (request.kind != FindKind::Count) {
        bool wrapped = false;
        const FindResult found = locate(request, scan, wrapped);
        if (found.end == ScanEnd::Cancelled) return;
        if (found.end == ScanEnd::SourceFailed) return report(FindReport{FindReport::Kind::Failed});
        if (found.pos < 0) return report(FindReport{FindReport::Kind::NotFound});
        hit = found.pos;
        report(FindReport{FindReport::Kind::Found, hit, matcher.length(), wrapped});
    }

    const ScanEnd counted = count_up_to(request, scan);
    if (counted == ScanEnd::Cancelled) return;
    if (counted == ScanEnd::SourceFailed) return report(FindReport{FindReport::Kind::Failed});
    if (request.kind == FindKind::Count) {
        FindReport r{FindReport::Kind::Counted};
        r.total = index_.total;
        return report(r);
    }
    FindReport r{FindReport::Kind::Placed, hit};
    r.total = index_.total;
    const ScanEnd placed = ordinal_of(hit, request, scan, r.ordinal);
    if (placed == ScanEnd::Done) report(r);
}

FindResult FindRunner::locate(const FindRequest& request, ChunkScanner& scan, bool& wrapped)
{
    const std::int32_t n = request.pattern.length();
    const bool from_hit = request.current >= 0;
    if (request.kind == FindKind::Next) {
        const FindResult r = scan.next(from_hit ? request.current + 1 : 0, request.limit);
        if (r.end != ScanEnd::Done || r.pos >= 0 || !from_hit) return r;
        wrapped = true;  // from the start up to the current hit, itself included
        return scan.next(0, std::int32_t(std::min<std::int64_t>(request.limit, std::int64_t(request.current) + n)));
    }
    const FindResult r = scan.previous(from_hit ? request.current : request.limit, request.limit);
    if (r.end != ScanEnd::Done || r.pos >= 0 || !from_hit) return r;
    wrapped = true;  // back from the end
    return scan.previous(request.limit, request.limit);
}

ScanEnd FindRunner::count_up_to(const FindRequest& request, ChunkScanner& scan)
{
    HitIndex& x = index_;
    if (!x.valid || !(x.pattern == request.pattern) || x.covered > request.limit) {
        x = HitIndex{};
        x.valid = true;
        x.pattern = request.pattern;
    }
    // Hits ending at or below `covered` are counted; the next may start just before it.
    const std::int32_t from = std::max(x.covered - request.pattern.length() + 1, 0);
    return scan.each(
        from, request.limit,
        [&x](std::int32_t pos) {
            ++x.total;
            if (!x.all_positions) return;
            if (x.positions.size() < find_index_capacity) {
                x.positions.push_back(pos);
            } else {
                x.all_positions = false;
                std::vector<std::int32_t>().swap(x.positions);
            }
        },
        [&x](std::int32_t covered) { x.covered = covered; });
}

ScanEnd FindRunner::ordinal_of(std::int32_t hit, const FindRequest& request, ChunkScanner& scan, std::int64_t& ordinal)
{
    if (index_.all_positions) {
        ordinal =
            std::lower_bound(index_.positions.begin(), index_.positions.end(), hit) - index_.positions.begin() + 1;
        return ScanEnd::Done;
    }
    // Too many hits to keep: count the ones starting before this one.
    std::int64_t before = 0;
    const ScanEnd end = scan.each(0, hit + request.pattern.length() - 1, [&before](std::int32_t) { ++before; });
    ordinal = before + 1;
    return end;
}
