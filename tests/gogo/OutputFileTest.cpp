// SPDX-License-Identifier: GPL-3.0-or-later
// The output file: invisible or hidden while it is written, in place only once committed, and
// never anything but its own temporary file removed.
#include "OutputFile.h"

#include "EncoderRun.h"
#include "Mp3Stream.h"

#include <filesystem>
#include <fstream>

using gogo::OutputFile;

namespace gogotest {
namespace {

std::span<const unsigned char> Bytes(std::string_view text) {
    return {reinterpret_cast<const unsigned char*>(text.data()), text.size()};
}

std::string Text(const std::string& path) {
    const std::vector<unsigned char> data = ReadFile(path);
    return {data.begin(), data.end()};
}

class OutputFileTest : public EncoderTest {};

TEST_F(OutputFileTest, AnUnnamedFileAppearsOnlyWhenCommitted) {
    std::string error;
    const std::string path = Path("out.mp3");
    std::unique_ptr<OutputFile> file = OutputFile::Create(path, error);
    ASSERT_TRUE(file) << error;
    ASSERT_TRUE(file->Write(Bytes("xxxx tail")));
    ASSERT_TRUE(file->WriteAt(0, Bytes("head")));
    EXPECT_EQ(FolderContents(Path("")), std::vector<std::string>{"in.wav"});

    ASSERT_TRUE(file->Commit()) << file->Error();
    EXPECT_EQ(Text(path), "head tail");
    file.reset();
    EXPECT_EQ(FolderContents(Path("")), (std::vector<std::string>{"in.wav", "out.mp3"}));
}

TEST_F(OutputFileTest, AHiddenFileIsRenamedOverAnExistingOutput) {
    const std::string path = Path("out.mp3");
    std::ofstream(path) << "old";
    std::string error;
    std::unique_ptr<OutputFile> file =
        OutputFile::Create(path, error, OutputFile::Staging::HiddenName);
    ASSERT_TRUE(file) << error;
    ASSERT_TRUE(file->Write(Bytes("new")));
    const std::vector<std::string> during = FolderContents(Path(""));
    ASSERT_EQ(during.size(), 3u);
    EXPECT_TRUE(during[0].starts_with(".out.mp3.gogo-")) << during[0];
    EXPECT_EQ(Text(path), "old");

    ASSERT_TRUE(file->Commit()) << file->Error();
    file.reset();
    EXPECT_EQ(Text(path), "new");
    EXPECT_EQ(FolderContents(Path("")), (std::vector<std::string>{"in.wav", "out.mp3"}));
}

TEST_F(OutputFileTest, AnUncommittedFileIsDiscarded) {
    for (const OutputFile::Staging staging :
         {OutputFile::Staging::Unnamed, OutputFile::Staging::HiddenName}) {
        std::string error;
        std::unique_ptr<OutputFile> file = OutputFile::Create(Path("out.mp3"), error, staging);
        ASSERT_TRUE(file) << error;
        ASSERT_TRUE(file->Write(Bytes("partial")));
        file.reset();
        EXPECT_EQ(FolderContents(Path("")), std::vector<std::string>{"in.wav"});
    }
}

// Someone else's file put under the temporary name is not the encoder's to remove.
TEST_F(OutputFileTest, DiscardingLeavesAnotherFileUnderTheTemporaryNameAlone) {
    std::string error;
    std::unique_ptr<OutputFile> file =
        OutputFile::Create(Path("out.mp3"), error, OutputFile::Staging::HiddenName);
    ASSERT_TRUE(file) << error;
    const std::string hidden = Path(FolderContents(Path(""))[0]);
    const std::string other = Path("other");
    std::ofstream(other) << "someone else's";
    std::filesystem::rename(other, hidden);

    file.reset();
    EXPECT_EQ(Text(hidden), "someone else's");
}

// A killed encoder cannot remove its hidden file; the next output into the folder removes what
// such encoders left, but not the file of an encoder still writing.
TEST_F(OutputFileTest, TemporaryFilesOfEncodersThatAreGoneAreRemoved) {
    std::string error;
    const std::unique_ptr<OutputFile> writing =
        OutputFile::Create(Path("a.mp3"), error, OutputFile::Staging::HiddenName);
    ASSERT_TRUE(writing) << error;
    const std::string live = FolderContents(Path(""))[0];
    for (const char* name :
         {".b.mp3.gogo-abcd1234", ".c.mp3.gogo-00000000", ".b.mp3.gogo-x", "notes.gogo-abcd1234"}) {
        std::ofstream(Path(name)) << "partial";
    }

    const std::unique_ptr<OutputFile> next = OutputFile::Create(Path("d.mp3"), error);
    ASSERT_TRUE(next) << error;
    EXPECT_EQ(FolderContents(Path("")),
              (std::vector<std::string>{live, ".b.mp3.gogo-x", "in.wav", "notes.gogo-abcd1234"}));
}

TEST_F(OutputFileTest, TheOutputPathMustNameAFile) {
    std::string error;
    EXPECT_FALSE(OutputFile::Create(Path("") + "/", error));
    EXPECT_EQ(error, "the output path names no file");
}

} // namespace
} // namespace gogotest
