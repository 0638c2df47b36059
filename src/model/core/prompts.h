#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

enum class Buttons { Ok, YesNo, YesNoCancel };
enum class Answer { Ok, Yes, No, Cancel };

struct FileDialog {
    std::string title;
    std::string filter;  // "velmora|*.diet"
    std::filesystem::path startFolder;
    bool confirmOverwrite = false;
};

// Every question and message of the model goes through this seam: the desktop program answers
// with dialogs, tests with a script, the command line from its flags.
struct Prompts {
    virtual ~Prompts() = default;
    virtual void inform(std::string_view text) = 0;
    virtual Answer ask(std::string_view text, Buttons buttons) = 0;
    virtual std::optional<std::string> input(std::string_view title, std::string_view prompt,
                                             std::string_view initial) = 0;
    virtual std::optional<std::filesystem::path> openFile(const FileDialog& dialog) = 0;
    virtual std::optional<std::filesystem::path> saveFile(const FileDialog& dialog) = 0;
};

// Answers nothing interactively: messages are collected, questions get a fixed answer, dialogs
// are cancelled unless a file name was set.
class SilentPrompts : public Prompts {
public:
    explicit SilentPrompts(Answer answer = Answer::No) : m_answer(answer) {}
    void inform(std::string_view text) override { m_messages.emplace_back(text); }
    Answer ask(std::string_view text, Buttons) override
    {
        m_messages.emplace_back(text);
        return m_answer;
    }
    std::optional<std::string> input(std::string_view, std::string_view, std::string_view) override { return std::nullopt; }
    std::optional<std::filesystem::path> openFile(const FileDialog&) override { return m_file; }
    std::optional<std::filesystem::path> saveFile(const FileDialog&) override { return m_file; }

    void SetFile(std::filesystem::path path) { m_file = std::move(path); }
    const std::vector<std::string>& Messages() const { return m_messages; }

private:
    Answer m_answer;
    std::optional<std::filesystem::path> m_file;
    std::vector<std::string> m_messages;
};

}  // namespace velmora
