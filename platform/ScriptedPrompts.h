// A Prompts double for tests: records every box and file request and answers
// from a script, never blocking.
#pragma once

#include "Prompts.h"

#include <deque>
#include <vector>

namespace vantor {

struct RecordedBox {
    std::string caption;
    std::string text;
    BoxIcon icon;
    BoxButtons buttons;
    QWidget* owner;
};

class ScriptedPrompts : public Prompts {
public:
    BoxAnswer messageBox(QWidget* owner, const std::string& caption, const std::string& text, BoxIcon icon,
                         BoxButtons buttons) override;
    std::optional<std::string> openFileName(const FileRequest& request) override;
    std::optional<std::string> saveFileName(const FileRequest& request) override;
    std::optional<std::string> textInput(QWidget* owner, const std::string& caption, const std::string& label,
                                         const std::string& initial) override;

    // Answers for the next Yes/No boxes; once spent, they are answered No.
    void answerNext(BoxAnswer answer) { m_answers.push_back(answer); }
    // Paths for the next file dialogs; nothing stands for Cancel, and so does an empty script.
    void chooseNextFile(std::optional<std::string> path) { m_files.push_back(std::move(path)); }
    // Texts for the next text inputs; nothing stands for Cancel, and so does an empty script.
    void typeNext(std::optional<std::string> text) { m_texts.push_back(std::move(text)); }
    // The initial text of each input asked for.
    const std::vector<std::string>& textRequests() const { return m_textRequests; }

    const std::vector<RecordedBox>& boxes() const { return m_boxes; }
    const std::vector<FileRequest>& fileRequests() const { return m_fileRequests; }
    void clear();

private:
    std::optional<std::string> nextFile(const FileRequest& request);

    std::vector<RecordedBox> m_boxes;
    std::vector<FileRequest> m_fileRequests;
    std::deque<BoxAnswer> m_answers;
    std::deque<std::optional<std::string>> m_files;
    std::vector<std::string> m_textRequests;
    std::deque<std::optional<std::string>> m_texts;
};

}  // namespace vantor
