#include "platform/runtime/FileIO.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/runtime/RuntimeError.h"
#include "tests/platform/forms/ErrorNumber.h"
#include "tests/support/TempFolder.h"

namespace forms {
namespace {

class FileIOTest : public testing::Test {
protected:
    void TearDown() override { CloseAll(); }

    std::vector<std::string> ReadLines(const std::string& content) {
        folder_.Write("in.txt", content);
        Open(folder_ / "in.txt", OpenMode::Input, 1);
        std::vector<std::string> lines;
        while (!Eof(1)) lines.push_back(LineInput(1));
        Close(1);
        return lines;
    }

    qvtest::TempFolder folder_;
};

TEST_F(FileIOTest, LineInputEndsLinesAtCarriageReturns) {
    struct Case {
        std::string content;
        std::vector<std::string> lines;
    };
    // A CR LF pair split across the reader's 64 KiB buffer.
    const std::string longLine(65535, 'x');
    const Case cases[] = {
        {"a\r\nb", {"a", "b"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\nb\n", {"a\nb\n"}},
        {"a\n\r\nb", {"a\n", "b"}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"x\r\r\ny", {"x", "", "y"}},
        {"\r\n", {""}},
        {"", {}},
        {"\nz", {"\nz"}},
        {longLine + "\r\nnext", {longLine, "next"}},
        {std::string("GIF89a\x01\x00\r\x80", 10), {std::string("GIF89a\x01\x00", 8), "\x80"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.content.substr(0, 20)));
        EXPECT_EQ(ReadLines(c.content), c.lines);
    }
}

TEST_F(FileIOTest, ReadingPastTheEndRaises62) {
    folder_.Write("one.txt", "only");
    Open(folder_ / "one.txt", OpenMode::Input, 1);
    EXPECT_EQ(LineInput(1), "only");
    EXPECT_TRUE(Eof(1));
    EXPECT_EQ(ErrorNumber([] { LineInput(1); }), err::InputPastEndOfFile);
    EXPECT_EQ(ErrorNumber([] { InputField(1); }), err::InputPastEndOfFile);
}

TEST_F(FileIOTest, NumbersAndModesAreChecked) {
    folder_.Write("a.txt", "x");
    const std::string path = folder_ / "a.txt";
    EXPECT_EQ(ErrorNumber([&] { Open(folder_ / "missing.txt", OpenMode::Input, 1); }), err::FileNotFound);
    EXPECT_FALSE(IsOpen(1));
    Open(path, OpenMode::Input, 1);
    EXPECT_EQ(ErrorNumber([&] { Open(path, OpenMode::Input, 1); }), err::FileAlreadyOpen);
    EXPECT_EQ(ErrorNumber([&] { Open(path, OpenMode::Input, 0); }), err::BadFileNameOrNumber);
    EXPECT_EQ(ErrorNumber([&] { Open(path, OpenMode::Input, MaxFileNumber + 1); }), err::BadFileNameOrNumber);
    EXPECT_EQ(ErrorNumber([] { LineInput(2); }), err::BadFileNameOrNumber);
    EXPECT_EQ(ErrorNumber([] { Print(1, "x"); }), err::BadFileMode);
    EXPECT_EQ(ErrorNumber([] { Put(1, std::string_view("x")); }), err::BadFileMode);
    EXPECT_NO_THROW(Close(2));
    Open(folder_ / "b.txt", OpenMode::Output, 2);
    EXPECT_EQ(ErrorNumber([] { LineInput(2); }), err::BadFileMode);
    CloseAll();
    EXPECT_FALSE(IsOpen(1));
    EXPECT_FALSE(IsOpen(2));
    EXPECT_NO_THROW(Open(path, OpenMode::Input, 1));  // the number is free again
}

TEST_F(FileIOTest, PrintWritesLinesOutputReplacesAppendAdds) {
    folder_.Write("out.txt", "an older and longer content");
    Open(folder_ / "out.txt", OpenMode::Output, 1);
    Print(1, "first");
    Print(1, "");
    Close(1);
    EXPECT_EQ(folder_.Read("out.txt"), "first\r\n\r\n");
    Open(folder_ / "out.txt", OpenMode::Append, 1);
    Print(1, "more");
    Close(1);
    EXPECT_EQ(folder_.Read("out.txt"), "first\r\n\r\nmore\r\n");
    Open(folder_ / "new.txt", OpenMode::Append, 3);
    Print(3, "\xC3\xA4");  // bytes pass unchanged
    Close(3);
    EXPECT_EQ(folder_.Read("new.txt"), "\xC3\xA4\r\n");
}

TEST_F(FileIOTest, InputFieldsEndAtCommasBlanksAndLineEnds) {
    folder_.Write("list.txt", "  12, 7 300\r\n4,,5\n-6 \r\n");
    Open(folder_ / "list.txt", OpenMode::Input, 1);
    std::vector<std::string> fields;
    while (!Eof(1)) fields.push_back(InputField(1));
    EXPECT_EQ(fields, (std::vector<std::string>{"12", "7", "300", "4", "", "5", "-6"}));
}

TEST_F(FileIOTest, PutWritesFromTheFirstByteWithoutTruncating) {
    folder_.Write("bin.dat", "abcdefgh");
    Open(folder_ / "bin.dat", OpenMode::Binary, 1);
    EXPECT_FALSE(Eof(1));
    Put(1, std::string_view("XY"));
    const std::vector<std::uint8_t> more{'Z', 0, 'W'};
    Put(1, more);
    Close(1);
    EXPECT_EQ(folder_.Read("bin.dat"), std::string("XYZ\0Wfgh", 8));

    Open(folder_ / "fresh.dat", OpenMode::Binary, 1);
    EXPECT_TRUE(Eof(1));
    Put(1, std::string_view("12"));
    EXPECT_TRUE(Eof(1));
    Close(1);
    EXPECT_EQ(folder_.Read("fresh.dat"), "12");
}

}  // namespace
}  // namespace forms
