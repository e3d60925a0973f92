// The general loader (reader by extension, messages naming the file) and the
// photo-album class with its length field.
#include <gtest/gtest.h>

#include "platform/picture/PictureLoader.h"
#include "platform/picture/UnitPHOGraphic.h"
#include "tests/PictureFixtures.h"

using namespace spindrel;
using namespace spindrel::fixtures;


TEST(PictureLoader, ChoosesTheReaderByExtensionInAnyCase)
{
    const TBitmap pattern = Pattern(6, 4);
    struct Row {
        const char* name;
        TFileBytes bytes;
    };
    TFileBytes rows24;
    for (int y = 3; y >= 0; --y)
        rows24.insert(rows24.end(), pattern.ScanLine(y), pattern.ScanLine(y) + pattern.Stride());
    const Row rows[] = {
        {"a.PNG", EncodePng(pattern)},
        {"b.tif", EncodeTiff(pattern, 5)},
        {"c.Tiff", EncodeTiff(pattern, 8)},
        {"d.webp", EncodeWebpLossless(pattern)},
        {"e.bmp", BmpFile(6, 4, 24, 0, {}, rows24)},
        {"f.DIB", BmpFile(6, 4, 24, 0, {}, rows24)},
    };
    for (const Row& r : rows) {
        TBitmap out;
        const TPictureResult result = LoadPicture(WriteTempFile(r.name, r.bytes), out);
        EXPECT_TRUE(result.Ok()) << r.name << ": " << result.Message;
        EXPECT_EQ(out, pattern) << r.name;
    }
}

TEST(PictureLoader, ReportsMissingUnknownAndBadFilesByName)
{
    TBitmap out(2, 2);
    const TBitmap before = out;
    const std::string missing = "/no/such/dir/x.jpg";
    TPictureResult r = LoadPicture(missing, out);
    EXPECT_EQ(r.Status, TPictureStatus::NotFound);
    EXPECT_NE(r.Message.find(missing), std::string::npos);

    const std::string unknown = WriteTempFile("notes.txt", {'h', 'i'});
    r = LoadPicture(unknown, out);
    EXPECT_EQ(r.Status, TPictureStatus::Unsupported);
    EXPECT_NE(r.Message.find("\"txt\""), std::string::npos) << r.Message;

    // A PNG under a JPEG name: the JPEG reader refuses it; the picture is untouched.
    const std::string wrong = WriteTempFile("photo.jpg", EncodePng(Pattern(3, 3)));
    r = LoadPicture(wrong, out);
    EXPECT_EQ(r.Status, TPictureStatus::Malformed);
    EXPECT_EQ(r.Message.rfind("\"" + wrong + "\": JPEG: ", 0), 0u) << r.Message;
    EXPECT_EQ(out, before);
    EXPECT_THROW(LoadPictureOrThrow(wrong, out), EPictureError);
}

TEST(PHOGraphic, LoadsTheJpegAfterTheLengthAndIgnoresWhatFollows)
{
    const TBitmap solid = [] {
        TBitmap b(24, 16);
        FillRect(b, b.Bounds(), RGB(30, 160, 90));
        return b;
    }();
    const TFileBytes jpeg = EncodeJpeg(solid);
    TPHOImage image;
    EXPECT_TRUE(image.GetEmpty());
    TMemoryStream stream(PhoFile(jpeg, static_cast<std::int32_t>(jpeg.size()), {'t', 'r', 'a', 'i', 'l'}));
    image.LoadFromStream(stream);
    EXPECT_FALSE(image.GetEmpty());
    EXPECT_EQ(image.GetWidth(), 24);
    EXPECT_EQ(image.GetHeight(), 16);
    EXPECT_LE(MaxDifference(image.Bitmap(), solid), 3);

    // Drawn into a rectangle of another size it is stretched; an empty picture draws nothing.
    TBitmap canvas(10, 10);
    image.Draw(canvas, {2, 2, 8, 5});
    EXPECT_LE(MaxDifference(canvas, [&] {
        TBitmap e(10, 10);
        FillRect(e, {2, 2, 8, 5}, image.Bitmap().Pixel(0, 0));
        return e;
    }()), 3);
    TBitmap untouched(4, 4);
    TPHOImage().Draw(untouched, {0, 0, 4, 4});
    EXPECT_EQ(untouched, TBitmap(4, 4));

    // Through the loader, once registered.
    RegisterPHOGraphic();
    TBitmap loaded;
    const TPictureResult r = LoadPicture(WriteTempFile("album.PHO", PhoFile(jpeg, static_cast<std::int32_t>(jpeg.size()))), loaded);
    EXPECT_TRUE(r.Ok()) << r.Message;
    EXPECT_EQ(loaded, image.Bitmap());
}

TEST(PHOGraphic, LengthBelowOneLoadsNothingAndLengthBeyondTheFileFails)
{
    const TBitmap pattern = Pattern(8, 8);
    const TFileBytes jpeg = EncodeJpeg(pattern);
    for (std::int32_t length : {0, -1, -2147483647 - 1}) {
        TPHOImage image;
        TMemoryStream stream(PhoFile(jpeg, length));
        image.LoadFromStream(stream);
        EXPECT_TRUE(image.GetEmpty()) << length;
        EXPECT_EQ(image.GetWidth(), 0);
        TBitmap out;
        const TPictureResult r = ReadPho(PhoFile(jpeg, length), out);
        EXPECT_FALSE(r.Ok()) << length;
        EXPECT_NE(r.Message.find("no picture"), std::string::npos) << r.Message;
    }

    // A picture already held stays when a later load fails.
    TPHOImage image;
    TMemoryStream good(PhoFile(jpeg, static_cast<std::int32_t>(jpeg.size())));
    image.LoadFromStream(good);
    const TBitmap held = image.Bitmap();
    TMemoryStream tooLong(PhoFile(jpeg, static_cast<std::int32_t>(jpeg.size()) + 1));
    EXPECT_THROW(image.LoadFromStream(tooLong), EStreamError);
    TMemoryStream huge(PhoFile(jpeg, 0x7FFFFFFF));  // refused before any buffer is made
    EXPECT_THROW(image.LoadFromStream(huge), EStreamError);
    TMemoryStream cut(TFileBytes{1, 2, 3, 4, 5, 6, 7, 8, 9, 0});
    EXPECT_THROW(image.LoadFromStream(cut), EStreamError);
    TFileBytes notJpeg(40, 0x11);
    TMemoryStream garbage(PhoFile(notJpeg, 40));
    EXPECT_THROW(image.LoadFromStream(garbage), EPictureError);
    EXPECT_EQ(image.Bitmap(), held);
}
