// Message boxes and file dialogs behind one interface, so that every dialog can
// be driven headless with a scripted double.
#pragma once

#include <optional>
#include <string>

class QWidget;

namespace vantor {

enum class BoxIcon { None, Information, Error, Question };
// YesNoDefaultNo: Enter answers No, for a question whose Yes loses data.
enum class BoxButtons { Ok, YesNo, YesNoDefaultNo };
enum class BoxAnswer { Ok, Yes, No };

struct FileRequest {
    QWidget* owner = nullptr;
    std::string title;
    // Pairs of description and patterns, each ended by '|': "Calibration File|*.eta|".
    std::string filter;
    std::string initialFolder;
    std::string initialName;
    bool mustExist = false;  // open dialogs: the file must exist
};

class Prompts {
public:
    virtual ~Prompts() = default;
    // An empty caption stands for a default one, "Error" in the program's language.
    virtual BoxAnswer messageBox(QWidget* owner, const std::string& caption, const std::string& text, BoxIcon icon,
                                 BoxButtons buttons) = 0;
    // The chosen path, or nothing when the user cancels.
    virtual std::optional<std::string> openFileName(const FileRequest& request) = 0;
    virtual std::optional<std::string> saveFileName(const FileRequest& request) = 0;
    // A line of text typed, starting from `initial`; nothing when the user cancels.
    virtual std::optional<std::string> textInput(QWidget* owner, const std::string& caption, const std::string& label,
                                                 const std::string& initial) = 0;
};

}  // namespace vantor
