#include <gtest/gtest.h>

#include "capture/PictureFiles.h"

using namespace capture;

TEST(PictureFiles, Base64) {
  EXPECT_EQ(DecodeBase64("aGVsbG8="), "hello");
  EXPECT_EQ(DecodeBase64("aGVs\nbG8"), "hello");  // padding optional, blanks ignored
  EXPECT_EQ(DecodeBase64("-_8="), std::string("\xFB\xFF"));  // URL-safe alphabet
  EXPECT_EQ(DecodeBase64(""), "");
  EXPECT_FALSE(DecodeBase64("aGVsbG8=x"));  // data after padding
  EXPECT_FALSE(DecodeBase64("a"));          // a lone character holds no byte
  EXPECT_FALSE(DecodeBase64("aGV*"));
  EXPECT_FALSE(DecodeBase64("aG==="));
}

TEST(PictureFiles, DataUrls) {
  EXPECT_EQ(DecodeDataUrl("data:image/png;base64,aGk="), "hi");
  EXPECT_EQ(DecodeDataUrl("DATA:image/svg+xml;charset=utf-8,%3Csvg%3E"), "<svg>");
  EXPECT_EQ(DecodeDataUrl("data:,a%2"), "a%2");  // a cut escape stays as it is
  EXPECT_FALSE(DecodeDataUrl("data:image/png;base64"));
  EXPECT_FALSE(DecodeDataUrl("data:image/png;base64,@@@"));
  EXPECT_FALSE(DecodeDataUrl("http://x/data:,y"));
}

TEST(PictureFiles, TypeComesFromTheBytes) {
  EXPECT_EQ(PictureExtension("\x89PNG\r\n\x1A\n...."), "png");
  EXPECT_EQ(PictureExtension("\xFF\xD8\xFF\xE0"), "jpg");
  EXPECT_EQ(PictureExtension("GIF89a.."), "gif");
  EXPECT_EQ(PictureExtension(std::string("RIFF\x10\0\0\0WEBPVP8 ", 16)), "webp");
  EXPECT_EQ(PictureExtension("\xEF\xBB\xBF <?xml version='1.0'?>\n<svg xmlns=''/>"), "svg");
  EXPECT_EQ(PictureExtension(std::string("\0\0\0\x1C" "ftypavif", 12)), "avif");
  EXPECT_EQ(PictureExtension("<html><body>404</body></html>"), "");
  EXPECT_EQ(PictureExtension("GIF8"), "");
  EXPECT_EQ(PictureExtension(""), "");
}

TEST(PictureFiles, NamesAreCleanUniqueAndCarryTheRealType) {
  PictureNamer namer;
  EXPECT_EQ(namer.NameFor("https://x.jp/img/photo.png?w=100#top", "jpg"), "photo.jpg");
  EXPECT_EQ(namer.NameFor("https://y.jp/PHOTO.gif", "jpg"), "PHOTO_1.jpg");  // case-blind
  EXPECT_EQ(namer.NameFor("https://y.jp/a/photo", "jpg"), "photo_2.jpg");
  EXPECT_EQ(namer.NameFor("https://x.jp/%E5%86%99%E7%9C%9F.png", "png"), "写真.png");
  EXPECT_EQ(namer.NameFor("https://x.jp/what%3F%20now%2F.png", "png"), "what~_now.png");
  EXPECT_EQ(namer.NameFor("data:image/png;base64,aGk=", "png"), "image.png");
  EXPECT_EQ(namer.NameFor("https://x.jp/", "png"), "x.png");
  EXPECT_EQ(namer.NameFor("https://x.jp/..", "gif"), "image.gif");
  EXPECT_EQ(namer.NameFor("https://x.jp/%FF%FE.gif", "gif"), "image_1.gif");  // not UTF-8
  const std::string longName = namer.NameFor("https://x.jp/" + std::string(300, 'a') + ".png", "png");
  EXPECT_EQ(longName, std::string(100, 'a') + ".png");
}
