// RtArray: shapes and capacities, the bounds check (as whole-process stops), Redim,
// CopyArray, PushBack, the exact variant and the literal data list.
#include <gtest/gtest.h>

#include <vector>

#include "error_stop_check.h"
#include "quorvia/values.h"

namespace {

using qrv::RtArray;
using qrv::RtString;
using qrv_test::ExpectErrorStop;

struct Tile {
  int32_t kind;
  int32_t flags;
};

TEST(RtArray, DimSetsSizesDimsAndDefaults) {
  struct Case {
    int32_t s[4];
    int32_t dims;
    int32_t count;
  } cases[] = {
      {{5, 0, 0, 0}, 1, 5},  {{0, 0, 0, 0}, 0, 0},  {{-3, 0, 0, 0}, 0, 0}, {{3, 2, 0, 0}, 2, 6},
      {{2, 3, 4, 0}, 3, 24}, {{2, 2, 2, 2}, 4, 16}, {{4, 0, 3, 0}, 3, 12}, {{32, 24, 0, 0}, 2, 768},
  };
  for (const Case& c : cases) {
    RtArray<int32_t> a;
    qrv::Dim(a, c.s[0], c.s[1], c.s[2], c.s[3]);
    EXPECT_EQ(a.Dims(), c.dims) << c.s[0] << "x" << c.s[1] << "x" << c.s[2] << "x" << c.s[3];
    EXPECT_EQ(a.Count(), c.count);
    EXPECT_EQ(qrv::Bounds(a, 0), std::max(c.s[0], 0));
    for (int k = 1; k < 4; ++k) EXPECT_EQ(qrv::Bounds(a, k), c.s[k]);
    EXPECT_EQ(qrv::Bounds(a, 4), 0);
    EXPECT_EQ(qrv::Bounds(a, -1), 0);
    for (int32_t i = 0; i < c.count; ++i) ASSERT_EQ(a.Data()[i], 0);
  }
}

TEST(RtArray, CapacitiesFollowTheKindsRules) {
  struct Case {
    int32_t n, intCapacity, doubleCapacity, stringCapacity;
    bool intInline, doubleInline;
  } cases[] = {
      {0, 8, 8, 64, true, true},      {7, 8, 8, 64, true, true},
      {8, 16, 16, 64, false, true},   {15, 16, 16, 64, false, true},
      {16, 24, 24, 64, false, false}, {64, 72, 72, 128, false, false},
  };
  for (const Case& c : cases) {
    RtArray<int32_t> ints;
    RtArray<double> doubles;
    RtArray<RtString> strings;
    ints.Dim(c.n);
    doubles.Dim(c.n);
    strings.Dim(c.n);
    EXPECT_EQ(ints.Capacity(), c.intCapacity) << c.n;
    EXPECT_EQ(doubles.Capacity(), c.doubleCapacity) << c.n;
    EXPECT_EQ(strings.Capacity(), c.stringCapacity) << c.n;
    EXPECT_EQ(ints.UsesInlineBlock(), c.intInline) << c.n;
    EXPECT_EQ(doubles.UsesInlineBlock(), c.doubleInline) << c.n;
  }
}

TEST(RtArray, DimToASimilarSizeReusesStorageAndResetsElements) {
  RtArray<int32_t> a;
  a.Dim(20);
  int32_t* storage = a.Data();
  a.ElementAt(3) = 9;
  a.Dim(4, 5);
  EXPECT_EQ(a.Data(), storage);
  EXPECT_EQ(a.ElementAt(3), 0);
  RtArray<RtString> s;
  s.Dim(3);
  s.ElementAt(1) = "kept?";
  s.Dim(2);
  EXPECT_TRUE(s.ElementAt(1).Empty());
}

TEST(RtArray, ElementPositionIsFirstIndexFastest) {
  RtArray<Tile> map;  // the game's 32 x 24 tile map
  map.Dim(32, 24);
  for (int32_t y = 0; y < 24; ++y) {
    for (int32_t x = 0; x < 32; ++x) map.ElementAt(x, y) = Tile{x, y};
  }
  EXPECT_EQ(map.Data()[5 + 32 * 7].kind, 5);
  EXPECT_EQ(map.Data()[5 + 32 * 7].flags, 7);
  RtArray<double> cube;
  cube.Dim(2, 3, 4, 5);
  cube.ElementAt(1, 2, 3, 4) = 1.5;
  EXPECT_EQ(cube.Data()[1 + 2 * 2 + 3 * 6 + 4 * 24], 1.5);
  EXPECT_EQ(cube.ElementAt(-1, 2, 3, 4), 1.5);  // negative first index counts from the end
}

TEST(RtArray, NegativeFirstIndexCountsFromTheEnd) {
  RtArray<int32_t> a;
  int32_t values[] = {10, 11, 12, 13, 14};
  qrv::DimFromList(a, 5, values);
  EXPECT_EQ(qrv::ElementAt(a, -1), 14);
  EXPECT_EQ(qrv::ElementAt(a, -5), 10);
  EXPECT_EQ(qrv::ElementAt(a, 4), 14);
}

TEST(RtArray, EveryFailedCheckStopsWithError9) {
  struct Case {
    const char* what;
    void (*access)();
  } cases[] = {
      {"past the end",
       [] {
         RtArray<int32_t> a;
         a.Dim(5);
         a.ElementAt(5);
       }},
      {"too negative",
       [] {
         RtArray<int32_t> a;
         a.Dim(5);
         a.ElementAt(-6);
       }},
      {"unsized",
       [] {
         RtArray<double> a;
         a.ElementAt(0);
       }},
      {"unsized, far",  // no address is formed from the missing storage
       [] {
         RtArray<double> a;
         a.ElementAt(1000, 7, 3, 2);
       }},
      {"dim 0",
       [] {
         RtArray<int32_t> a;
         a.Dim(0);
         a.ElementAt(0);
       }},
      {"x = 32",
       [] {
         RtArray<Tile> a;
         a.Dim(32, 24);
         a.ElementAt(32, 0);
       }},
      {"y = 24",
       [] {
         RtArray<Tile> a;
         a.Dim(32, 24);
         a.ElementAt(0, 24);
       }},
      {"negative i1",
       [] {
         RtArray<Tile> a;
         a.Dim(32, 24);
         a.ElementAt(0, -1);
       }},
      {"unused dim",
       [] {
         RtArray<int32_t> a;
         a.Dim(5);
         a.ElementAt(0, 1);
       }},
      {"i3 past",
       [] {
         RtArray<uint8_t> a;
         a.Dim(2, 2, 2, 2);
         a.ElementAt(0, 0, 0, 2);
       }},
      {"redim 0",
       [] {
         RtArray<int32_t> a;
         a.Dim(5);
         a.Redim(0);
         a.ElementAt(0);
       }},
      {"negative size",
       [] {
         RtArray<int32_t> a;
         a.Dim(5, -2);
         a.ElementAt(0, 0);
       }},
      {"strings",
       [] {
         RtArray<RtString> a;
         a.Dim(3);
         a.ElementAt(3) = "x";
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ExpectErrorStop(9, c.access);
  }
}

TEST(RtArray, SizesThatCannotBeStoredStopWithError7) {
  ExpectErrorStop(7, [] {
    RtArray<int32_t> a;
    a.Dim(65536, 65536);
  });
  ExpectErrorStop(7, [] {
    RtArray<double> a;
    a.Dim(2, 2, 2, 0x40000000);
  });
  ExpectErrorStop(7, [] {
    RtArray<int32_t> a;
    a.Dim(5);
    a.Redim(INT32_MAX, 2);
  });
  ExpectErrorStop(7, [] {
    RtArray<RtString> a;
    a.Dim(INT32_MAX);
  });
  // A count that fits an int32 but no memory (2^31 records of 64 bytes).
  struct Big {
    char bytes[64];
  };
  ExpectErrorStop(7, [] {
    RtArray<Big> a;
    a.Dim(INT32_MAX - 64);
  });
}

TEST(RtArray, RedimKeepsTheOverlap) {
  RtArray<int32_t> a;
  a.Dim(3, 2);
  for (int32_t y = 0; y < 2; ++y) {
    for (int32_t x = 0; x < 3; ++x) a.ElementAt(x, y) = 10 * x + y + 1;
  }
  a.Redim(2, 3);
  EXPECT_EQ(qrv::Bounds(a, 0), 2);
  EXPECT_EQ(qrv::Bounds(a, 1), 3);
  int32_t expected[3][2] = {{1, 11}, {2, 12}, {0, 0}};  // [y][x]
  for (int32_t y = 0; y < 3; ++y) {
    for (int32_t x = 0; x < 2; ++x) EXPECT_EQ(a.ElementAt(x, y), expected[y][x]) << x << "," << y;
  }
}

TEST(RtArray, RedimOfStringsKeepsEveryDimension) {
  RtArray<RtString> a;
  a.Dim(2, 2, 2);
  a.ElementAt(1, 1, 1) = "deep";
  a.ElementAt(0, 1, 0) = "flat";
  a.Redim(3, 3, 3);
  EXPECT_STREQ(a.ElementAt(1, 1, 1).c_str(), "deep");
  EXPECT_STREQ(a.ElementAt(0, 1, 0).c_str(), "flat");
  EXPECT_TRUE(a.ElementAt(2, 2, 2).Empty());
}

TEST(RtArray, RedimToZeroKeepsStorageButHidesElements) {
  RtArray<int32_t> a;
  a.Dim(20);
  int32_t* storage = a.Data();
  a.Redim(0);
  EXPECT_EQ(a.Dims(), 0);
  EXPECT_EQ(qrv::Bounds(a, 0), 0);
  EXPECT_EQ(a.Data(), storage);
  a.Redim(4);  // nothing carries over from the hidden elements
  EXPECT_EQ(a.ElementAt(3), 0);
}

TEST(RtArray, CopyArrayCopiesShapeAndElements) {
  RtArray<RtString> source;
  source.Dim(2, 3);
  source.ElementAt(1, 2) = "last";
  RtArray<RtString> target;
  target.Dim(100);
  qrv::CopyArray(target, source);
  EXPECT_EQ(target.Dims(), 2);
  EXPECT_EQ(qrv::Bounds(target, 1), 3);
  EXPECT_STREQ(target.ElementAt(1, 2).c_str(), "last");
  EXPECT_NE(target.ElementAt(1, 2).c_str(), source.ElementAt(1, 2).c_str());
  RtArray<double> small;  // inline storage copies and moves as well
  double values[] = {1.5, 2.5};
  small.DimFromList(2, values);
  RtArray<double> copy = small;
  RtArray<double> moved = std::move(small);
  EXPECT_EQ(copy.ElementAt(1), 2.5);
  EXPECT_EQ(moved.ElementAt(-1), 2.5);
  EXPECT_TRUE(moved.UsesInlineBlock());
}

TEST(RtArray, PushBackAppendsAndRefusesWideArrays) {
  RtArray<RtString> a;
  qrv::PushBack(a, RtString("first"));
  EXPECT_EQ(qrv::Bounds(a, 0), 1);
  EXPECT_EQ(a.Dims(), 1);
  EXPECT_STREQ(a.ElementAt(0).c_str(), "first");
  for (int i = 1; i < 1000; ++i) a.PushBack(RtString(i));
  a.PushBack(a.ElementAt(0));  // an element of the array itself
  EXPECT_EQ(qrv::Bounds(a, 0), 1001);
  EXPECT_STREQ(a.ElementAt(999).c_str(), "999");
  EXPECT_STREQ(a.ElementAt(-1).c_str(), "first");
  ExpectErrorStop(8, [] {
    RtArray<RtString> w;
    w.Dim(2, 2);
    w.PushBack("x");
  });
}

TEST(RtArray, ExactVariantSizesCapacityToTheCount) {
  struct Case {
    int32_t n;
    bool intInline, doubleInline;
  } cases[] = {
      {3, true, true}, {8, true, true}, {9, false, true}, {16, false, true}, {17, false, false}};
  for (const Case& c : cases) {
    RtArray<int32_t> ints;
    RtArray<double> doubles;
    ints.DimExact(c.n);
    doubles.DimExact(c.n);
    EXPECT_EQ(ints.Capacity(), c.n);
    EXPECT_EQ(doubles.Capacity(), c.n);
    EXPECT_EQ(ints.UsesInlineBlock(), c.intInline) << c.n;
    EXPECT_EQ(doubles.UsesInlineBlock(), c.doubleInline) << c.n;
    EXPECT_EQ(ints.ElementAt(c.n - 1), 0);
  }
}

TEST(DataList, ReadsItemsInOrderAsEachKind) {
  static const qrv::DataItem items[] = {{2.75, nullptr}, {0, "3.9"},      {-7.9, nullptr},
                                        {0, "  42abc"},  {1e20, nullptr}, {0, "txt"},
                                        {0, "Nancy"}};
  qrv::SetDataList(items, 7);
  EXPECT_EQ(qrv::ReadDataNumber(), 2.75);
  EXPECT_EQ(qrv::ReadDataInteger(), 3);
  EXPECT_EQ(qrv::ReadDataInteger(), -7);
  EXPECT_EQ(qrv::ReadDataNumber(), 42.0);
  EXPECT_STREQ(qrv::ReadDataString().c_str(), "1.e+020");
  EXPECT_STREQ(qrv::ReadDataString().c_str(), "txt");
  EXPECT_EQ(qrv::ReadDataNumber(), 0.0);  // a word is no number, not NaN
  ExpectErrorStop(20, [] { qrv::ReadDataNumber(); });
  qrv::SetDataList(nullptr, 0);
  ExpectErrorStop(20, [] { qrv::ReadDataString(); });
}

}  // namespace
