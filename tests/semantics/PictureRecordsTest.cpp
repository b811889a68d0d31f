// Picture records from their own free lists: a freed record is used again, every
// record is aligned for its long doubles, and records made on one thread may be freed
// on another, which then ends, without a block lost or handed out twice.
#include "foundation/GeoDataObjectsSigns.h"

#include <gtest/gtest.h>
#include <cstdint>
#include <memory>
#include <set>
#include <thread>
#include <vector>

namespace {

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool Pooled = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
constexpr bool Pooled = false;
#else
constexpr bool Pooled = true;
#endif
#else
constexpr bool Pooled = true;
#endif

template <class R>
bool Aligned(const R* r)
{
    return reinterpret_cast<std::uintptr_t>(r) % alignof(R) == 0 &&
           reinterpret_cast<std::uintptr_t>(r) % alignof(Extended) == 0;
}

}  // namespace

TEST(PictureRecords, AFreedRecordIsUsedAgainAndEveryOneIsAligned)
{
    auto line = std::make_unique<RVpLine>();
    auto layer = std::make_unique<RVpLayer>();
    auto circle = std::make_unique<RVpCircle>();
    auto polyline = std::make_unique<RVpPolyline>();
    auto polygon = std::make_unique<RVpPolygon>();
    auto text = std::make_unique<RVpText>();
    EXPECT_TRUE(Aligned(line.get()) && Aligned(layer.get()) && Aligned(circle.get()) && Aligned(polyline.get()) &&
                Aligned(polygon.get()) && Aligned(text.get()));
    const RVpLine* was = line.get();
    line.reset();
    line = std::make_unique<RVpLine>();
    if (Pooled) {
        EXPECT_EQ(line.get(), was);
    }
    EXPECT_EQ(line->PenWidth, 1);   // made afresh, with its defaults
}

TEST(PictureRecords, RecordsFreedOnAnEndedThreadComeBackOnce)
{
    // A picture built here and dropped on a thread of its own (as a plan is dropped),
    // then as many records made again here: no block may be handed out twice.
    constexpr int count = 50000;
    std::vector<std::unique_ptr<RVpLine>> lines;
    for (int i = 0; i < count; ++i)
        lines.push_back(std::make_unique<RVpLine>());
    std::thread([moved = std::move(lines)]() mutable { moved.clear(); }).join();
    std::set<const void*> seen;
    std::vector<std::unique_ptr<RVpLine>> again;
    for (int i = 0; i < 2 * count; ++i) {
        again.push_back(std::make_unique<RVpLine>());
        again.back()->P2.X = i;
        EXPECT_TRUE(seen.insert(again.back().get()).second);
    }
    for (int i = 0; i < 2 * count; ++i)
        ASSERT_EQ(again[std::size_t(i)]->P2.X, i);

    // Threads making and freeing records side by side.
    std::vector<std::thread> workers;
    for (int t = 0; t < 4; ++t)
        workers.emplace_back([] {
            for (int round = 0; round < 20; ++round) {
                TVpLayers picture;
                for (int i = 0; i < 2000; ++i) {
                    picture.AddItem();
                    picture.Item->Lines.AddItem();
                    picture.Item->Lines.Item->P1.X = i;
                }
                for (int i = 0; i < 2000; ++i)
                    ASSERT_EQ(picture.At(i)->Lines.At(0)->P1.X, i);
            }
        });
    for (std::thread& w : workers)
        w.join();
}
