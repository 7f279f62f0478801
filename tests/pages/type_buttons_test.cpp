// A band's type buttons draw a new image only where the selection moves: whatever sets the type
// (a click, a preset file, a reset, a read-back), the images must show the model's type.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <functional>
#include <string>
#include <vector>

#include "controls/band_types.h"
#include "pages/band_images.h"
#include "pages/page_ids.h"
#include "test_page.h"

namespace {

using namespace controls;

QAbstractButton* TypeButtonOf(const PageHarness& h, int band, int type) {
    return qobject_cast<QAbstractButton*>(h.page->Control(pageid::kTypeButton + 3 * band + type - 1));
}

// The face of each of the band's three buttons: P, LS, HS.
std::vector<QRgb> Faces(const PageHarness& h, int band) {
    std::vector<QRgb> out;
    for (int type : {kTypePeaking, kTypeLowShelf, kTypeHighShelf})
        out.push_back(
            TypeButtonOf(h, band, type)->icon().pixmap(kTypeImageSize, kTypeImageSize).toImage().pixel(1, 1));
    return out;
}

// What the buttons must show for a type: the one matching button green, none for the others.
std::vector<QRgb> FacesFor(int type) {
    std::vector<QRgb> out;
    for (int k : {kTypePeaking, kTypeLowShelf, kTypeHighShelf}) out.push_back(TypeImageFace(k == type).rgb());
    return out;
}

// A five-band preset body whose band 2 has the given type.
std::vector<std::string> BodyWithBand2(int type) {
    return {"[TEST EQ]",
            "20,-2400,70,0",
            "500,0,100,1",
            "1000,0,100," + std::to_string(type),
            "10000,0,100,1",
            "20000,-2400,70,0",
            "0"};
}

TEST(TypeButtons, ImagesFollowTheTypeHoweverItIsSet) {
    PageHarness h(5);
    constexpr int kBand = 2;
    // clang-format off
    const struct { const char* how; std::function<void()> set; int type; } steps[] = {
        {"built", [] {}, kTypePeaking},
        {"same type again", [&] { h.page->SetTypeButtons(kBand, kTypePeaking); }, kTypePeaking},
        {"click on LS", [&] { TypeButtonOf(h, kBand, kTypeLowShelf)->click(); }, kTypeLowShelf},
        {"file: LS again", [&] { h.page->LoadText(BodyWithBand2(kTypeLowShelf)); }, kTypeLowShelf},
        {"file: HS", [&] { h.page->LoadText(BodyWithBand2(kTypeHighShelf)); }, kTypeHighShelf},
        {"off", [&] { h.page->SetTypeButtons(kBand, kTypeOff); }, kTypeOff},
        {"high-pass after off", [&] { h.page->SetTypeButtons(kBand, kTypeHighPass); }, kTypeHighPass},
        {"read-back: low shelf", [&] { h.page->SetBand(kBand, 1000, 0.0f, 1.0f, 6); }, kTypeLowShelf},
        {"reset", [&] { h.page->ResetAll(true); }, kTypePeaking},
        {"file: HS after reset", [&] { h.page->LoadText(BodyWithBand2(kTypeHighShelf)); }, kTypeHighShelf},
    };
    // clang-format on
    for (const auto& s : steps) {
        SCOPED_TRACE(s.how);
        s.set();
        ASSERT_EQ(h.page->Model().band.type[kBand], s.type) << "the step did not set the type it names";
        EXPECT_EQ(Faces(h, kBand), FacesFor(s.type)) << "the buttons do not show the band's type";
        EXPECT_EQ(Faces(h, kBand + 1), FacesFor(kTypePeaking)) << "a neighbouring band's buttons changed";
    }
}

}  // namespace
