// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QImage>
#include <QString>

namespace maskora {
namespace {

// The window icon is read from the embedded resources; linking the resource objects
// must be enough to register them, with no explicit initialisation call.
TEST(EmbeddedIcon, BothSizesLoad) {
  for (int size : {16, 32}) {
    const QImage image(QString(":/maskora/maskora-%1.png").arg(size));
    ASSERT_FALSE(image.isNull()) << size;
    EXPECT_EQ(image.width(), size);
    EXPECT_EQ(image.height(), size);
    EXPECT_TRUE(image.hasAlphaChannel()) << size;
  }
}

}  // namespace
}  // namespace maskora
