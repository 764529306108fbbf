#include "platform/streams.h"

#include <gtest/gtest.h>

#include "platform/exceptions.h"
#include "platform/files.h"
#include "tests/platform/temp_folder.h"

namespace {

std::string ReadAll(TStream& stream) {
  std::string data(static_cast<size_t>(stream.Size() - stream.Position()), '\0');
  stream.ReadBuffer(data.data(), static_cast<int>(data.size()));
  return data;
}

template <typename Action>
std::string ErrorOf(Action action) {
  try {
    action();
  } catch (const EFileError& e) {
    return e.Message;
  }
  return "";
}

}  // namespace

// The behaviour every stream shares, run over each kind.
TEST(Streams, ReadWriteSeekAndSizeAlike) {
  TempFolder folder;
  TMemoryStream memory;
  TStringStream text;
  TFileStream file(folder.Name() + "s.bin", fmCreate);
  for (TStream* stream : std::initializer_list<TStream*>{&memory, &text, &file}) {
    stream->WriteBuffer("hello world", 11);
    EXPECT_EQ(stream->Position(), 11);
    EXPECT_EQ(stream->Size(), 11);
    EXPECT_EQ(stream->Seek(-5, soEnd), 6);
    char buffer[16] = {};
    EXPECT_EQ(stream->Read(buffer, 16), 5);  // a short read at the end
    EXPECT_STREQ(buffer, "world");
    EXPECT_EQ(stream->Read(buffer, 4), 0);
    EXPECT_EQ(ErrorOf([&] { stream->ReadBuffer(buffer, 1); }), "Stream read error");

    // Writing past the end fills the gap with zeros.
    stream->SetPosition(13);
    stream->WriteBuffer("!", 1);
    stream->SetPosition(0);
    EXPECT_EQ(ReadAll(*stream), std::string("hello world\0\0!", 14));

    stream->Seek(2, soBeginning);
    stream->Seek(3, soCurrent);
    stream->WriteBuffer("_", 1);
    stream->SetSize(8);
    EXPECT_EQ(stream->Size(), 8);
    stream->SetPosition(0);
    EXPECT_EQ(ReadAll(*stream), "hello_wo");
  }
  EXPECT_EQ(text.DataString(), "hello_wo");
  EXPECT_EQ(std::string(memory.Memory(), 8), "hello_wo");
}

TEST(Streams, CopyFrom) {
  TStringStream source("0123456789");
  TMemoryStream target;
  source.SetPosition(7);
  EXPECT_EQ(target.CopyFrom(source, 0), 10);  // 0: all of it, from the beginning
  source.SetPosition(2);
  EXPECT_EQ(target.CopyFrom(source, 3), 3);
  EXPECT_EQ(std::string(target.Memory(), 13), "0123456789234");
  EXPECT_THROW(target.CopyFrom(source, 100), EReadError);
}

TEST(Streams, StringStreamText) {
  TStringStream stream("abcdef");
  EXPECT_EQ(stream.ReadString(2), "ab");
  stream.WriteString("XY");
  EXPECT_EQ(stream.ReadString(10), "ef");
  EXPECT_EQ(stream.DataString(), "abXYef");
}

TEST(Streams, FileModesAndErrors) {
  TempFolder folder;
  std::string name = folder.Name() + "\xF4\xE0\xE9\xEB.txt";  // a 1251 name
  {
    TFileStream create(name, fmCreate);
    create.WriteBuffer("content", 7);
  }
  {
    TFileStream read(name, fmOpenRead | fmShareDenyWrite);
    EXPECT_EQ(ReadAll(read), "content");
    EXPECT_EQ(ErrorOf([&] { read.WriteBuffer("x", 1); }), "Stream write error");
  }
  {
    TFileStream write(name, fmOpenWrite);
    write.WriteBuffer("C", 1);
    char c;
    EXPECT_EQ(write.Read(&c, 1), 0);
  }
  {
    TFileStream both(name, fmOpenReadWrite);
    EXPECT_EQ(ReadAll(both), "Content");  // opening for writing keeps the content
    both.WriteBuffer("!", 1);
  }
  EXPECT_EQ(ReadFileBytes(name), "Content!");
  {
    TFileStream truncate(name, fmCreate);
  }
  EXPECT_EQ(FileSize(name), 0);

  EXPECT_EQ(ErrorOf([&] { TFileStream(folder.Name() + "none.txt", fmOpenRead); }),
            "Cannot open file \"" + folder.Name() + "none.txt\". No such file or directory");
  EXPECT_EQ(ErrorOf([&] { TFileStream(folder.Name(), fmOpenRead); }),
            "Cannot open file \"" + folder.Name() + "\". Is a directory");
  EXPECT_EQ(ErrorOf([&] { TFileStream(folder.Name() + "no/x.txt", fmCreate); }),
            "Cannot create file \"" + folder.Name() + "no/x.txt\". No such file or directory");
  EXPECT_THROW(TFileStream(folder.Name() + "none.txt", fmOpenRead), EFOpenError);
  EXPECT_THROW(TFileStream(folder.Name() + "no/x.txt", fmCreate), EFCreateError);
}

TEST(Streams, MemoryStreamFilesAndStreams) {
  TempFolder folder;
  TMemoryStream memory;
  memory.WriteBuffer("\x00\xFF\r\n", 4);
  memory.SaveToFile(folder.Name() + "m.bin");
  TMemoryStream loaded;
  loaded.LoadFromFile(folder.Name() + "m.bin");
  EXPECT_EQ(loaded.Position(), 0);
  EXPECT_EQ(std::string(loaded.Memory(), 4), std::string("\x00\xFF\r\n", 4));

  TStringStream text("from a stream");
  text.SetPosition(5);
  loaded.LoadFromStream(text);  // all of the stream, from its beginning
  EXPECT_EQ(std::string(loaded.Memory(), static_cast<size_t>(loaded.Size())), "from a stream");
  TStringStream out;
  loaded.SaveToStream(out);
  EXPECT_EQ(out.DataString(), "from a stream");
  loaded.Clear();
  EXPECT_EQ(loaded.Size(), 0);
  EXPECT_THROW(loaded.LoadFromFile(folder.Name() + "none"), EFOpenError);
}
