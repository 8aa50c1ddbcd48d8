#include "ScriptedPrompts.h"

namespace vantor {

BoxAnswer ScriptedPrompts::messageBox(QWidget* owner, const std::string& caption, const std::string& text,
                                      BoxIcon icon, BoxButtons buttons)
{
    m_boxes.push_back({caption, text, icon, buttons, owner});
    if (buttons == BoxButtons::Ok)
        return BoxAnswer::Ok;
    if (m_answers.empty())
        return BoxAnswer::No;
    const BoxAnswer answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

std::optional<std::string> ScriptedPrompts::nextFile(const FileRequest& request)
{
    m_fileRequests.push_back(request);
    if (m_files.empty())
        return std::nullopt;
    std::optional<std::string> path = m_files.front();
    m_files.pop_front();
    return path;
}

std::optional<std::string> ScriptedPrompts::openFileName(const FileRequest& request) { return nextFile(request); }
std::optional<std::string> ScriptedPrompts::saveFileName(const FileRequest& request) { return nextFile(request); }

std::optional<std::string> ScriptedPrompts::textInput(QWidget*, const std::string&, const std::string&,
                                                      const std::string& initial)
{
    m_textRequests.push_back(initial);
    if (m_texts.empty())
        return std::nullopt;
    std::optional<std::string> text = m_texts.front();
    m_texts.pop_front();
    return text;
}

void ScriptedPrompts::clear()
{
    m_boxes.clear();
    m_fileRequests.clear();
    m_answers.clear();
    m_files.clear();
    m_textRequests.clear();
    m_texts.clear();
}

}  // namespace vantor
