#include "winapi/regfile.h"

#include <gtest/gtest.h>

namespace {

using platform::regfile::File;
using platform::regfile::Parse;
using platform::regfile::Write;

TEST(RegFile, ReadsWhatTheRegistryEditorWrites) {
  const std::string text =
      "REGEDIT4\r\n\r\n"
      "[HKEY_CURRENT_USER\\Software\\Tolvane\\Kestrum\\General]\r\n"
      "\"FormX\"=\"1440\"\r\n"
      "\"Path\"=\"c:\\\\games\\\\\\\"duke\\\"\"\r\n"
      "@=\"default\"\r\n"
      "\"Count\"=dword:0000002a\r\n"
      "\"Bin\"=hex:01,02,ff\r\n"
      "\"Multi\"=hex(7):61,00,62,00,00\r\n"
      "\"Empty\"=hex(2):\r\n"
      "\"Long\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,\\\r\n"
      "  16,17,18\r\n";
  const auto file = Parse(text);
  ASSERT_TRUE(file.has_value());
  const char* key = "hkey_current_user\\software\\tolvane\\kestrum\\general";
  ASSERT_TRUE(file->HasKey(key));
  // The keys above it exist too.
  EXPECT_TRUE(file->HasKey("HKEY_CURRENT_USER\\Software\\Tolvane"));
  auto value = [&](const char* name) { return file->FindValue(key, name); };
  EXPECT_EQ(value("formx")->data, std::string("1440\0", 5));
  EXPECT_EQ(value("Path")->data, std::string("c:\\games\\\"duke\"\0", 16));
  EXPECT_EQ(value("")->data, std::string("default\0", 8));
  EXPECT_EQ(value("Count")->type, 4u);
  EXPECT_EQ(value("Count")->data, std::string("\x2a\0\0\0", 4));
  EXPECT_EQ(value("Bin")->type, 3u);
  EXPECT_EQ(value("Bin")->data, "\x01\x02\xff");
  EXPECT_EQ(value("Multi")->type, 7u);
  EXPECT_EQ(value("Empty")->type, 2u);
  EXPECT_EQ(value("Empty")->data, "");
  EXPECT_EQ(value("Long")->data.size(), 25u);
}

TEST(RegFile, WritesAFileThatReadsBackTheSame) {
  File file;
  const char* key = "HKEY_CURRENT_USER\\Software\\Tolvane\\Kestrum\\General";
  file.CreateKey(key);
  file.SetValue(key, "Quote\"Name", 1, std::string("a\\b\"c\0", 6));
  file.SetValue(key, "NoNul", 1, "12");
  file.SetValue(key, "Lines", 1, std::string("a\r\nb\0", 5));
  file.SetValue(key, "Dword", 4, std::string("\x01\x02\x03\x04", 4));
  file.SetValue(key, "ShortDword", 4, "\x01");
  file.SetValue(key, "Big", 3, std::string(100, '\xab'));
  file.SetValue(key, "", 1, std::string("d\0", 2));
  const std::string text = Write(file);
  EXPECT_TRUE(text.starts_with("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software]\r\n"));
  EXPECT_NE(text.find("\"Quote\\\"Name\"=\"a\\\\b\\\"c\"\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\"NoNul\"=hex(1):31,32\r\n"), std::string::npos);
  EXPECT_NE(text.find("\"Dword\"=dword:04030201\r\n"), std::string::npos);
  EXPECT_NE(text.find("\"ShortDword\"=hex(4):01\r\n"), std::string::npos);
  EXPECT_NE(text.find("@=\"d\"\r\n"), std::string::npos);
  // Long hex data goes on over lines of at most about 80 characters.
  std::size_t start = 0;
  while (start < text.size()) {
    const auto end = text.find("\r\n", start);
    EXPECT_LE(end - start, 80u);
    start = end + 2;
  }
  const auto back = Parse(text);
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(Write(*back), text);
  EXPECT_EQ(back->FindValue(key, "Big")->data, std::string(100, '\xab'));
  EXPECT_EQ(back->FindValue(key, "Lines")->data, std::string("a\r\nb\0", 5));
}

TEST(RegFile, AHandEditedFileKeepsEveryLineThatDoesNotChange) {
  const std::string before =
      "\xEF\xBB\xBFREGEDIT4\n; my settings, by hand\n\n"
      "[HKEY_CURRENT_USER\\Software\\Tolvane\\Kestrum\\General]\n"
      "\"FormX\" = \"15\"   \n"
      "; the sound I like\n"
      "\"Sound\"=\"1\"\n"
      "\n"
      "[HKEY_CURRENT_USER\\Software\\Other]\r\n"
      "\"Keep\"=hex:01,\\\r\n  02\r\n"
      "[HKEY_CURRENT_USER\\Software\\Tolvane\\Kestrum\\General]\n"
      "\"Sound\"=\"2\"";  // a key written twice; the last line has no line end
  auto file = Parse(before);
  ASSERT_TRUE(file.has_value());
  EXPECT_EQ(Write(*file), before);
  const char* key = "HKEY_CURRENT_USER\\Software\\Tolvane\\Kestrum\\General";
  EXPECT_EQ(file->FindValue(key, "sound")->data, std::string("2\0", 2));
  EXPECT_FALSE(file->SetValue(key, "FormX", 1, std::string("15\0", 3)));
  EXPECT_TRUE(file->SetValue(key, "Sound", 1, std::string("3\0", 2)));
  EXPECT_TRUE(
      file->SetValue("HKEY_CURRENT_USER\\Software\\Other", "New", 1, std::string("x\0", 2)));
  const std::string after = Write(*file);
  EXPECT_EQ(after,
            "\xEF\xBB\xBFREGEDIT4\n; my settings, by hand\n\n"
            "[HKEY_CURRENT_USER\\Software\\Tolvane\\Kestrum\\General]\n"
            "\"FormX\" = \"15\"   \n"
            "; the sound I like\n"
            "\"Sound\"=\"1\"\n"
            "\n"
            "[HKEY_CURRENT_USER\\Software\\Other]\r\n"
            "\"Keep\"=hex:01,\\\r\n  02\r\n"
            "\"New\"=\"x\"\r\n"
            "[HKEY_CURRENT_USER\\Software\\Tolvane\\Kestrum\\General]\n"
            "\"Sound\"=\"3\"\r\n");
  EXPECT_EQ(Parse(after)->FindValue(key, "Sound")->data, std::string("3\0", 2));
}

TEST(RegFile, RefusesWhatIsNotARegistryFile) {
  for (const std::string& bad : {
           std::string("not a registry file"),
           std::string("REGEDIT4\r\n\"x\"=\"value before any key\"\r\n"),
           std::string("REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\"x\"=\"unterminated\r\n"),
           std::string("REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\"x\"=dword:123456789\r\n"),
           std::string("REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\"x\"=hex:1g\r\n"),
           std::string("REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\"x\"=hex:01,\r\n"),
           std::string("REGEDIT4\r\n[HKEY_CURRENT_USER\\A\r\n"),
           std::string("REGEDIT4\r\n[HKEY_CURRENT_USER\\A\\\\B]\r\n"),
           std::string("REGEDIT4\r\n[HKEY_CURRENT_USER\\A\\]\r\n"),
           std::string("REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\ngarbage\r\n"),
           std::string("\x7f"
                       "ELF\x01\x00\x00",
                       7),
           std::string("REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\"x\"=\"1\" trailing\r\n"),
       }) {
    EXPECT_FALSE(Parse(bad).has_value()) << bad;
  }
  EXPECT_TRUE(Parse("REGEDIT4").has_value());
  EXPECT_TRUE(Parse("REGEDIT4\n[HKEY_CURRENT_USER\\A]\n; a comment\n\"x\"=\"1\"").has_value());
}

}  // namespace
