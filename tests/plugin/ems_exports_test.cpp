#include "platform/ems_records.h"
#include "plugin/host_memory.h"
#include "plugin/plugin_context.h"

#include <gtest/gtest.h>

#include <cstring>

extern "C" {
int32_t ems_plugin_version(int16_t* version);
int32_t ems_free(void* memory);
int32_t ems_special_info(void* globals, EmsMenu* menu);
int32_t ems_translator_info(void* globals, EmsTranslator* translator);
int32_t ems_can_translate(void* globals, EmsTranslator* translator, EmsDataFile* file, void* reserved);
int32_t ems_plugin_init(void** globals, int16_t hostVersion, EmsMailConfig* config, EmsPluginInfo* info);
int32_t tarnwick_OpenNewsboard(int32_t first, int32_t second, const char* text, int32_t fourth);
}

namespace tarnwick::plugin {
namespace {

TEST(EmsExports, InterfaceVersionIsFour) {
  int16_t version = 0;
  EXPECT_EQ(ems_plugin_version(&version), 0);
  EXPECT_EQ(version, 4);
}

TEST(EmsExports, InitWithoutInformationRecordDoesNothing) {
  Context().pluginFolder = "unchanged";
  EXPECT_EQ(ems_plugin_init(nullptr, 4, nullptr, nullptr), 0);
  EXPECT_EQ(Context().pluginFolder, "unchanged");
}

TEST(EmsExports, SpecialMenuHasOneEntry) {
  for (int32_t id : {0, 2}) {
    EmsMenu menu{sizeof(EmsMenu), id, nullptr, nullptr, 0};
    EXPECT_EQ(ems_special_info(nullptr, &menu), 3);
    EXPECT_EQ(menu.name, nullptr);
    EXPECT_EQ(menu.icon, nullptr);
  }
  Context().hostApiVersion = 4;
  EmsMenu menu{sizeof(EmsMenu), 1, nullptr, nullptr, 0};
  ASSERT_EQ(ems_special_info(nullptr, &menu), 0);
  EXPECT_STREQ(menu.name, "Tarnwick...");
  EXPECT_EQ(menu.flags, 0x8000);
  ASSERT_NE(menu.icon, nullptr);
  EXPECT_EQ(*menu.icon, 1000);
  ems_free(menu.name);
  ems_free(menu.icon);

  Context().hostApiVersion = 3;
  EmsMenu old{sizeof(EmsMenu), 1, nullptr, nullptr, 0};
  ASSERT_EQ(ems_special_info(nullptr, &old), 0);
  EXPECT_EQ(old.flags, 0);
  EXPECT_EQ(old.icon, nullptr);
  ems_free(old.name);
}

TEST(EmsExports, TranslatorIsGetTheFullArticle) {
  EXPECT_EQ(ems_translator_info(nullptr, nullptr), 0);
  EmsTranslator second{sizeof(EmsTranslator), 2, 0, 0, nullptr, nullptr};
  EXPECT_EQ(ems_translator_info(nullptr, &second), 3);
  EmsTranslator first{sizeof(EmsTranslator), 1, 0, 0, nullptr, nullptr};
  ASSERT_EQ(ems_translator_info(nullptr, &first), 0);
  EXPECT_STREQ(first.description, "Get the Full Article");
  EXPECT_EQ(first.type, 16);
  EXPECT_EQ(first.flags, 0x1204u);
  EXPECT_EQ(*first.icon, 132);
  ems_free(first.description);
  ems_free(first.icon);
}

TEST(EmsExports, CanTranslateOnlyHtmlTextInItsContexts) {
  EmsTranslator translator{sizeof(EmsTranslator), 1, 0, 0, nullptr, nullptr};
  EmsMimeType* html = NewMimeType("text", "html");
  EmsDataFile file{sizeof(EmsDataFile), 0x0004, html, nullptr, nullptr};
  EXPECT_EQ(ems_can_translate(nullptr, &translator, &file, nullptr), 10);
  file.context = 0x0001;
  EXPECT_EQ(ems_can_translate(nullptr, &translator, &file, nullptr), 2);
  file.context = 0x1000;
  EXPECT_EQ(ems_can_translate(nullptr, &translator, &file, nullptr), 10);

  EmsMimeType* upper = NewMimeType("text", "HTML");
  file.info = upper;
  EXPECT_EQ(ems_can_translate(nullptr, &translator, &file, nullptr), 2);
  file.info = nullptr;
  EXPECT_EQ(ems_can_translate(nullptr, &translator, &file, nullptr), 2);
  EXPECT_EQ(ems_can_translate(nullptr, &translator, nullptr, nullptr), 2);
  translator.id = 5;
  file.info = html;
  EXPECT_EQ(ems_can_translate(nullptr, &translator, &file, nullptr), 3);
  // Freed whole, texts and all: the sanitizer build reports anything left behind.
  EXPECT_EQ(ems_free(html), 0);
  EXPECT_EQ(ems_free(upper), 0);
  EXPECT_EQ(ems_free(nullptr), 0);
}

TEST(EmsExports, OpenNewsboardChangesNothing) {
  Context().pluginFolder = "/some/plugins";
  Context().hostDataFolder = "/some";
  tarnwick_OpenNewsboard(1, 2, "text", 4);
  tarnwick_OpenNewsboard(1, 2, nullptr, 4);
  EXPECT_EQ(Context().pluginFolder, "/some/plugins");
  EXPECT_EQ(Context().hostDataFolder, "/some");
}

}  // namespace
}  // namespace tarnwick::plugin
