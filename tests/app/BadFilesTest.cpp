// Files that are not what their name says, opened as the user opens them
// (File > Open): each is refused with a message in the user's language, loads
// nothing, changes nothing on disk and leaves no dialog open.
#include "AppFixture.h"
#include "FileCommands.h"
#include "TemplateDialog.h"

#include <QTimer>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>

using namespace vantor;

namespace {

enum class Damage { Empty, Truncated, OneByteTooLong, RandomBytes, Folder, Unreadable, Vanished };

const char* name(Damage d)
{
    switch (d) {
    case Damage::Empty: return "empty";
    case Damage::Truncated: return "truncated";
    case Damage::OneByteTooLong: return "one byte too long";
    case Damage::RandomBytes: return "random bytes";
    case Damage::Folder: return "a folder";
    case Damage::Unreadable: return "unreadable";
    case Damage::Vanished: return "vanished";
    }
    return "";
}

std::string bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Reading as an ordinary user: root reads files whatever their permissions say.
class AsOrdinaryUser {
public:
    AsOrdinaryUser() : m_root(geteuid() == 0)
    {
        if (m_root && seteuid(65534) != 0)
            m_root = false;
    }
    ~AsOrdinaryUser()
    {
        if (m_root)
            [[maybe_unused]] const int restored = seteuid(0);
    }

private:
    bool m_root;
};

class BadFilesTest : public test::AppFixture {
protected:
    void SetUp() override
    {
        program.state.settings.currentFolder = dir.path().string() + "/";
        std::filesystem::permissions(dir.path(), std::filesystem::perms::all);  // an ordinary user may look in
    }

    // The bytes a damaged file of the type holds; a good file is a whole one.
    static std::string damaged(const FileType& type, Damage damage, std::mt19937& random)
    {
        const bool measurement = type.codec == nullptr;
        std::string whole;
        if (measurement) {
            whole = std::string{77, 0, 1, 3, 72};
            whole.resize(2 + 77, '\x11');
        } else {
            const size_t size = type.codec->block->imageSize();
            whole = std::string{static_cast<char>(size), 0};
            whole.resize(2 + size, '\x11');
        }
        switch (damage) {
        case Damage::Empty: return {};
        case Damage::Truncated: return whole.substr(0, whole.size() - 1);
        case Damage::OneByteTooLong: return whole + '\x22';
        case Damage::RandomBytes: {
            std::string noise(whole.size(), '\0');
            for (char& c : noise)
                c = static_cast<char>(random() & 0xFF);
            // A length word no block has, whatever the draw.
            noise[0] = '\x03';
            noise[1] = '\x7F';
            return noise;
        }
        default: return whole;
        }
    }
};

}  // namespace

TEST_F(BadFilesTest, EachIsRefusedWithAMessageAndChangesNothing)
{
    std::mt19937 random(20261206);
    for (const FileType* type : {&filetypes::kCalibration, &filetypes::kFactory, &filetypes::kMaker, &filetypes::kCan,
                                 &filetypes::kMeasurement}) {
        for (Damage damage : {Damage::Empty, Damage::Truncated, Damage::OneByteTooLong, Damage::RandomBytes,
                              Damage::Folder, Damage::Unreadable, Damage::Vanished}) {
            // A partial record at the end of a measurement file is ignored, not refused.
            if (type->codec == nullptr && damage == Damage::OneByteTooLong)
                continue;
            for (int language : {kFrench, kEnglish}) {
                SCOPED_TRACE(std::string(type->extension) + ", " + name(damage) + (language ? " (English)" : " (French)"));
                program.state.settings.language = language;
                const std::string path = dir.file(std::string("bad.") + type->extension);
                std::filesystem::remove_all(path);
                if (damage == Damage::Folder) {
                    std::filesystem::create_directory(path);
                } else if (damage != Damage::Vanished) {
                    std::ofstream(path, std::ios::binary) << damaged(*type, damage, random);
                    if (damage == Damage::Unreadable)
                        chmod(path.c_str(), 0);
                }
                const std::string before = std::filesystem::is_regular_file(path) ? bytes(path) : "";
                program.state.record = {};
                program.state.record.calibration.extDiameter = 777;
                program.state.record.factory.qRef = 777;
                program.state.record.maker.ref3 = 777;
                program.state.record.can.node = 7;
                program.state.record.measurement.flow = 777;
                prompts.clear();
                prompts.chooseNextFile(path);

                bool dialogShown = false;
                QTimer::singleShot(0, [&] {
                    if (auto* dialog = qobject_cast<TemplateDialog*>(QApplication::activeModalWidget())) {
                        dialogShown = true;
                        dialog->reject();
                    }
                });
                {
                    const AsOrdinaryUser user;
                    openSettingsFile(program.context(), nullptr);
                }
                QCoreApplication::processEvents();

                EXPECT_FALSE(dialogShown) << "no dialog stays open on a refused file";
                ASSERT_EQ(prompts.boxes().size(), 1u);
                const RecordedBox& box = prompts.boxes()[0];
                EXPECT_EQ(box.icon, BoxIcon::Error);
                EXPECT_EQ(box.caption, type->name.text(language));
                EXPECT_NE(box.text.find(path), std::string::npos) << box.text;
                const char* otherLanguage = language == kFrench ? "file" : "fichier";
                EXPECT_EQ(box.text.find(otherLanguage), std::string::npos) << box.text;
                EXPECT_EQ(program.state.record.calibration.extDiameter, 777.0f) << "nothing loaded";
                EXPECT_EQ(program.state.record.factory.qRef, 777.0f);
                EXPECT_EQ(program.state.record.maker.ref3, 777.0f);
                EXPECT_EQ(program.state.record.can.node, 7.0f);
                EXPECT_EQ(program.state.record.measurement.flow, 777.0f);
                if (std::filesystem::is_regular_file(path)) {
                    chmod(path.c_str(), 0644);
                    EXPECT_EQ(bytes(path), before) << "nothing written";
                }
                EXPECT_EQ(damage == Damage::Folder, std::filesystem::is_directory(path));
            }
        }
    }
}
