// Loading a slide's picture sized for the screen: the overlapped decode and
// resample must give exactly what decoding first and resampling after gives.
#include <gtest/gtest.h>

#include "platform/graphics/Resample.h"
#include "platform/picture/JpegReader.h"
#include "saver/PicturePlacement.h"
#include "saver/SlidePicture.h"
#include "tests/PictureFixtures.h"

using namespace spindrel;
using namespace spindrel::fixtures;

namespace {

// The slow way: decode at the scale the target allows, then resample the whole picture.
TBitmap DecodeThenResample(const TFileBytes& Jpeg, int ScreenWidth, int ScreenHeight)
{
    TDecodeOptions options;
    options.TargetSize = [&](TPictureSize Full) {
        const TRect t = PictureTarget(Full.Width, Full.Height, ScreenWidth, ScreenHeight, true);
        return TPictureSize{t.Width(), t.Height()};
    };
    TBitmap decoded;
    EXPECT_TRUE(ReadJpeg(Jpeg, decoded, options).Ok());
    const TRect t = PictureTarget(decoded.Width(), decoded.Height(), ScreenWidth, ScreenHeight, true);
    TBitmap sized(t.Width(), t.Height());
    StretchPicture(decoded, sized);
    return sized;
}

}  // namespace

TEST(SlidePicture, OverlappedDecodeEqualsDecodeThenResample)
{
    const TBitmap photo = Pattern(800, 600);
    struct Row {
        int orientation, screenW, screenH;
        int expectedW, expectedH;
    };
    const Row rows[] = {
        {1, 1024, 768, 1024, 768},  // enlarged: full-scale decode
        {1, 320, 200, 267, 200},    // shrunk: reduced-scale decode, then resampled
        {6, 320, 200, 150, 200},    // turned by its tag: decoded first, then resampled
    };
    for (const Row& r : rows) {
        const TFileBytes jpeg = EncodeJpeg(photo, {.Quality = 85, .Orientation = r.orientation});
        TBitmap sized;
        const TPictureResult result = DecodeSlidePicture(jpeg, "jpg", r.screenW, r.screenH, true, sized);
        ASSERT_TRUE(result.Ok()) << result.Message;
        EXPECT_EQ(sized.Width(), r.expectedW);
        EXPECT_EQ(sized.Height(), r.expectedH);
        EXPECT_EQ(sized, DecodeThenResample(jpeg, r.screenW, r.screenH)) << "orientation " << r.orientation;
    }
}

TEST(SlidePicture, WithoutFitKeepsThePictureAndFailuresKeepTheOldOne)
{
    const TBitmap pattern = Pattern(40, 30);
    TBitmap sized;
    ASSERT_TRUE(DecodeSlidePicture(EncodePng(pattern), "png", 1024, 768, false, sized).Ok());
    EXPECT_EQ(sized, pattern);

    TFileBytes cut = EncodeJpeg(pattern);
    cut.resize(cut.size() / 2);  // fails after its rows have started arriving
    const TBitmap before = sized;
    const TPictureResult r = DecodeSlidePicture(cut, "jpg", 20, 20, true, sized);
    EXPECT_FALSE(r.Ok());
    EXPECT_EQ(sized, before);
    EXPECT_EQ(LoadSlidePicture("/no/such/slide.jpg", 20, 20, true, sized).Status, TPictureStatus::NotFound);
}
