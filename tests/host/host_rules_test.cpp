// The host rules over plain values: time and battery texts, the machine id, the language
// code of an identifier, and which GL functions a context has.
#include "host/host_rules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace qrv::host;

TEST(HostValues, TimePadsEveryFieldButTheYear) {
  EXPECT_EQ(TimeText(2011, 3, 5, 7, 4, 9), "2011-03-05 07:04:09");
  EXPECT_EQ(TimeText(2026, 12, 31, 23, 59, 58), "2026-12-31 23:59:58");
  EXPECT_EQ(TimeText(999, 1, 1, 0, 0, 0), "999-01-01 00:00:00");
}

TEST(HostValues, BatteryIsCappedAndNeedsABattery) {
  EXPECT_EQ(BatteryText(true, 57), "57");
  EXPECT_EQ(BatteryText(true, 0), "0");
  EXPECT_EQ(BatteryText(true, 100), "100");
  EXPECT_EQ(BatteryText(true, 255), "100");
  EXPECT_EQ(BatteryText(true, -1), "100");  // a battery of unknown charge
  EXPECT_EQ(BatteryText(false, 80), "NO_DATA");
}

TEST(HostValues, MachineIdIsTheMixedSerialInMemoryOrder) {
  std::string a = MachineIdText(0), b = MachineIdText(0x000000FF);
  ASSERT_EQ(a.size(), 8u);
  EXPECT_EQ(a.find_first_not_of("0123456789ABCDEF"), std::string::npos);
  // The lowest byte comes first: only the first two digits differ.
  EXPECT_NE(a.substr(0, 2), b.substr(0, 2));
  EXPECT_EQ(a.substr(2), b.substr(2));
  EXPECT_NE(MachineIdText(16390125), MachineIdText(16390126));
}

TEST(LocaleCode, CodesOfIdentifiers) {
  EXPECT_EQ(LanguageCode(0x409), "uk");
  EXPECT_EQ(LanguageCode(0x422), "uk");
  EXPECT_EQ(LanguageCode(0x809), "en");
  EXPECT_EQ(LanguageCode(0x3409), "en");
  EXPECT_EQ(LanguageCode(0x81A), "sr");
  EXPECT_EQ(LanguageCode(0x417), "us");  // not in the table
  EXPECT_EQ(LanguageCode(0), "us");
}

// Versions and extensions as the GL documents give them: glGenBuffers came with 1.5,
// glBegin left the core profile with 3.2, glGetPointerv left it and came back with 4.3
// (and KHR_debug brings it), glSpecializeShader is 4.6.
TEST(GlFunctions, CoreVersionProfileOrListedExtension) {
  std::vector<std::string> list;
  ExtensionListed listed = [&](std::string_view name) {
    return std::find(list.begin(), list.end(), name) != list.end();
  };
  EXPECT_FALSE(GlFunctionBelongs("glGenBuffers", 14, false, listed));
  EXPECT_TRUE(GlFunctionBelongs("glGenBuffers", 15, false, listed));
  EXPECT_TRUE(GlFunctionBelongs("glGenBuffers", 45, true, listed));
  EXPECT_TRUE(GlFunctionBelongs("glGenBuffers", 99, false, listed));  // newer than the registry
  EXPECT_FALSE(GlFunctionBelongs("glgenbuffers", 45, false, listed));
  EXPECT_TRUE(GlFunctionBelongs("glBegin", 10, false, listed));
  EXPECT_TRUE(GlFunctionBelongs("glBegin", 45, false, listed));
  EXPECT_TRUE(GlFunctionBelongs("glBegin", 31, true, listed));
  EXPECT_FALSE(GlFunctionBelongs("glBegin", 32, true, listed));
  EXPECT_FALSE(GlFunctionBelongs("glGetPointerv", 33, true, listed));
  EXPECT_TRUE(GlFunctionBelongs("glGetPointerv", 43, true, listed));
  EXPECT_FALSE(GlFunctionBelongs("glSpecializeShader", 45, false, listed));
  EXPECT_TRUE(GlFunctionBelongs("glSpecializeShader", 46, true, listed));
  for (const char* name : {"glDrawMeshTasksNV", "glGenFramebuffersEXT", "glGenBuffersARB",
                           "glQrvNoSuchFunction", "", "gl"}) {
    EXPECT_FALSE(GlFunctionBelongs(name, 46, false, listed)) << name;
  }
  list = {"GL_EXT_framebuffer_object", "GL_ARB_vertex_buffer_object", "GL_KHR_debug"};
  EXPECT_TRUE(GlFunctionBelongs("glGenFramebuffersEXT", 21, false, listed));
  EXPECT_TRUE(GlFunctionBelongs("glGenBuffersARB", 10, false, listed));
  EXPECT_TRUE(GlFunctionBelongs("glGetPointerv", 33, true, listed));
  EXPECT_FALSE(GlFunctionBelongs("glDrawMeshTasksNV", 46, false, listed));
  list = {"GL_NV_mesh_shader"};
  EXPECT_TRUE(GlFunctionBelongs("glDrawMeshTasksNV", 45, false, listed));
  EXPECT_TRUE(GlFunctionBelongs("glDrawMeshTasksNV", 45, true, listed));
}
