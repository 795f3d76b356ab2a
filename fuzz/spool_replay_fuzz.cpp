// Arbitrary spool bytes and page index, every page replayed on the recording
// surface: whatever the file holds, a replay ends, draws only what it can, and
// only finite, sane numbers reach the surface and the print position.

#include "FuzzInput.h"
#include "render/PageRenderer.h"
#include "support/FakeBarcodeEncoder.h"
#include "support/TestSession.h"

#include <cmath>
#include <sys/mman.h>
#include <unistd.h>

using namespace quillet;
using namespace quillet::testing;

namespace {

/// The bytes as a file that SpoolFile can open, without touching the disk.
class MemoryFile {
public:
    explicit MemoryFile(std::string_view bytes) : m_fd(memfd_create("spool", MFD_CLOEXEC))
    {
        if (m_fd >= 0 && ::write(m_fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
            __builtin_trap();
    }
    ~MemoryFile() { ::close(m_fd); }
    std::string path() const { return "/proc/self/fd/" + std::to_string(m_fd); }

private:
    int m_fd;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::FuzzInput input(data, size);
    TestSession listing(ListingMode::Direct);
    listing.session.barcodes = std::make_shared<FakeBarcodeEncoder>(); // garbage barcode records reach the layout
    listing.composer.PNewImg(fakePicture(20, 10));
    listing.composer.PNewImg(fakePicture(0, 1e30f));

    ListingState &s = listing.state();
    s.PageIndex.resize(input.take<uint8_t>() % 8);
    for (int32_t &slot : s.PageIndex)
        slot = input.take<int32_t>();
    s.Zoom = input.take<float>();
    const int16_t pages = static_cast<int16_t>(s.PageIndex.size() + 1);

    MemoryFile file(input.rest());
    listing.session.spool = SpoolFile::open(file.path());
    if (!listing.session.spool)
        return 0;
    s.Preview = true;
    s.Spooling = false;
    s.NumPages = pages;
    s.Surface = &listing.pageSurface;
    const auto sane = [](float value) { return std::isfinite(value) && std::abs(value) <= 1e6f; };
    // A font's size follows the fuzzed zoom, and so does the box under an opaque
    // text; a picture's size is its own. None of them is held to the bound.
    const auto unbounded = [](const FakeSurface::Call &call) {
        return call.op == "font" || call.op == "picture" ||
               (call.op == "line" && call.args.at(0) == static_cast<float>(LineKind::BoxRelative));
    };
    for (int16_t page = 0; page <= pages; ++page) {
        listing.render(page);
        for (const auto &call : listing.pageSurface.calls)
            for (float arg : call.args)
                if (!sane(arg) && !unbounded(call))
                    __builtin_trap();
        if (!sane(s.CursorX) || !sane(s.CursorY))
            __builtin_trap();
    }
    // The memory file cannot be unlinked; the listing must not try.
    listing.session.spool.reset();
    return 0;
}
