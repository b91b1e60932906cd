// The settings file's format: reading and writing single keys in a file's
// bytes, numbers and flags, and the file on disk, whose writes replace it
// whole or not at all.

#include "AppTestSupport.h"
#include "IniFile.h"

namespace tessel::app::testing {
namespace {

using Bytes = QByteArray;

// Key File1 of section Tessel; "<none>" when it is missing.
Bytes Find(const Bytes& contents) {
  const std::optional<std::string> value =
      FindIniValue(contents.toStdString(), "Tessel", "File1");
  return value ? Bytes::fromStdString(*value) : Bytes("<none>");
}

struct ReadRow {
  const char* contents;
  const char* value;
};

const ReadRow kReads[] = {
    {"[tESSEL]\n file1 \t=\t a b  \n", "a b"},
    {"[ Tessel ]\nFile1=\"\" a \"\"\n", "\" a \""},  // one pair of quotes
    {"[Tessel]\nFile1='a'\n", "a"},
    {"[Tessel]\nFile1=\"a'\n", "\"a'"},
    {"[Tessel]\nFile1=\n", ""},
    {"[Tessel]\nFile1=a=b\n", "a=b"},
    {"[Tessel]\r\nA=1\r\nFile1=x\r", "x"},
    {"[Tessel]\nFile1=\xB3\x5C\xA6\x68\xA1\x5D]\n",
     "\xB3\x5C\xA6\x68\xA1\x5D]"},
    {"[Tessel]\nFile1=許多.txt\n", "許多.txt"},
    {"[Tessel]\nFile1=a\nFile1=b\n", "a"},
    {"[Tessel]\nA=1\n[Setup]\nFile1=s\n[Tessel]\nFile1=b\n", "b"},
    {"[Tessel]\n[Setup\nFile1=a\n", "a"},  // not a section line
    {"[Tessel]\nFile2=a\n", "<none>"},
    {"[Setup]\nFile1=a\n", "<none>"},
    {"File1=a\n[Tessel]\n", "<none>"},
    {"[Tessel]\n;File1=a\n", "<none>"},
};

struct WriteRow {
  const char* before;
  const char* value;
  const char* after;
};

const WriteRow kWrites[] = {
    {"", "v", "[Tessel]\nFile1=v\n"},
    {";c\n[Tessel]\nX=1\n file1 = old \n;d\n[Setup]\nFile1=s\n", "v",
     ";c\n[Tessel]\nX=1\n file1 =v\n;d\n[Setup]\nFile1=s\n"},
    {"[tessel]\nX=1\n\n[Setup]\n", "v", "[tessel]\nX=1\nFile1=v\n\n[Setup]\n"},
    {"[Tessel]\nX=1\n[Tessel]\nY=2", "v",
     "[Tessel]\nX=1\nFile1=v\n[Tessel]\nY=2"},
    {"[Setup]\r\nY=2", "v", "[Setup]\r\nY=2\r\n\r\n[Tessel]\r\nFile1=v\r\n"},
    {"[Tessel]\r\nX=1", "v", "[Tessel]\r\nX=1\r\nFile1=v\r\n"},
    {"[Tessel]\n", " a ", "[Tessel]\nFile1=\" a \"\n"},
    {"[Tessel]\n", "'a'", "[Tessel]\nFile1=\"'a'\"\n"},
    {"[Tessel]\n", "a\n[Setup]\r\nb", "[Tessel]\nFile1=a [Setup]  b\n"},
};

}  // namespace

class IniFileTest : public QObject {
  Q_OBJECT

 private slots:
  void Reads() {
    for (const ReadRow& row : kReads) {
      QVERIFY2(Find(row.contents) == row.value, row.contents);
    }
    const Bytes long_value = "[Tessel]\nFile1=\"" + Bytes(3000, 'x') + "\"";
    QCOMPARE(Find(long_value), Bytes(2047, 'x'));
  }

  void Writes() {
    for (const WriteRow& row : kWrites) {
      QVERIFY2(
          SetIniValue(row.before, "Tessel", "File1", row.value) == row.after,
          row.before);
    }
  }

  // Whatever is written reads back as it was, cut to 2047 bytes.
  void RoundTrip() {
    for (const Bytes& value :
         {Bytes(), Bytes("C:\\\xB3\x5C\\\xA1\x5D.txt"), Bytes("/文本/許 a"),
          Bytes("  100 "), Bytes("\"a b\""), Bytes("\""),
          Bytes("[Setup] a=b ;c"), Bytes(3000, 'y')}) {
      const Bytes file = Bytes::fromStdString(SetIniValue(
          "[Tessel]\nFile2=x\n", "Tessel", "File1", value.toStdString()));
      QVERIFY2(Find(file) == value.left(2047), value.constData());
      QVERIFY(file.contains("\nFile2=x\n"));
    }
  }

  void Numbers() {
    struct Row {
      const char* text;  // nullptr: no key
      int integer;       // the default is 99
      int flag;          // -1: the default, either way
    };
    const Row rows[] = {{" -7 ", -7, 1}, {"0x0", 0, 0}, {"\"$10\"", 16, 1},
                        {"abc", 99, -1}, {"", 99, -1},  {nullptr, 99, -1}};
    for (const Row& row : rows) {
      const std::string contents =
          row.text ? std::string("[Tessel]\nN=") + row.text : "[Tessel]";
      const TIniFile ini = TIniFile::FromBytes(contents);
      QVERIFY2(ini.ReadInteger("tessel", "n", 99) == row.integer, row.text);
      for (const bool dflt : {false, true}) {
        QVERIFY2(ini.ReadBool("Tessel", "N", dflt) ==
                     (row.flag < 0 ? dflt : row.flag == 1),
                 row.text);
      }
    }
  }

  void FileOnDisk() {
    QTemporaryDir dir;
    const QString path = dir.filePath("tessel.ini");
    QCOMPARE(TIniFile(path).ReadString("Tessel", "A", "dflt"), "dflt");
    QVERIFY(!QFile::exists(path));  // reading creates nothing
    WriteBytes(path, "; kept\n[Tessel]\nOther=1\n");
    TIniFile(path).WriteString("Tessel", "File1", "a.txt");
    TIniFile(path).WriteInteger("Tessel", "FileNum", -1);
    TIniFile(path).WriteBool("Setup", "UseAp1", true);
    QCOMPARE(ReadBytes(path),
             Bytes("; kept\n[Tessel]\nOther=1\nFile1=a.txt\nFileNum=-1\n\n"
                   "[Setup]\nUseAp1=1\n"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files),
             QStringList{"tessel.ini"});
  }

  // A failed write throws with the path, and leaves the old file whole.
  void FailedWrites() {
    QTemporaryDir dir;
    WriteBytes(dir.filePath("file"), "x");
    const Bytes old("[Tessel]\nFile1=old\n");
    WriteBytes(dir.filePath("tessel.ini"), old);
    // Under a regular file, under /proc, and beyond a file size limit.
    const std::pair<QString, rlim_t> cases[] = {
        {dir.filePath("file/tessel.ini"), RLIM_INFINITY},
        {"/proc/tessel.ini", RLIM_INFINITY},
        {dir.filePath("tessel.ini"), 100}};
    for (const auto& [path, size_limit] : cases) {
      QString error;
      try {
        FileSizeLimit limit(size_limit);
        TIniFile(path).WriteString("Tessel", "File1", std::string(200, 'n'));
      } catch (const IniWriteError& e) {
        error = QString::fromUtf8(e.what());
      }
      QCOMPARE(error, "Unable to write to " + path);
    }
    QCOMPARE(ReadBytes(dir.filePath("tessel.ini")), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files),
             (QStringList{"file", "tessel.ini"}));
  }
};

}  // namespace tessel::app::testing

TESSEL_APP_TEST_MAIN(tessel::app::testing::IniFileTest)
#include "IniFileTest.moc"
