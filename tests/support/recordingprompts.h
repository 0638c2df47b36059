#pragma once

#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/prompts.h"

namespace velmora::testing {

// Records every text the user would see and hands out prepared answers. A question, prompt or
// dialog nobody prepared an answer for goes to Unexpected, which each test framework reports its way.
class RecordingPrompts : public Prompts {
public:
    void inform(std::string_view text) override { messages.emplace_back(text); }
    Answer ask(std::string_view text, Buttons) override
    {
        questions.emplace_back(text);
        if (answers.empty()) {
            Unexpected("question: " + std::string(text));
            return Answer::Cancel;
        }
        Answer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::optional<std::string> input(std::string_view title, std::string_view prompt, std::string_view) override
    {
        inputs.push_back(std::string(title) + "|" + std::string(prompt));
        if (inputAnswers.empty()) {
            Unexpected("input: " + std::string(title));
            return std::nullopt;
        }
        auto answer = inputAnswers.front();
        inputAnswers.pop_front();
        return answer;
    }
    std::optional<std::filesystem::path> openFile(const FileDialog& dialog) override { return NextFile(dialog); }
    std::optional<std::filesystem::path> saveFile(const FileDialog& dialog) override { return NextFile(dialog); }

    std::vector<std::string> messages, questions, inputs, dialogTitles;
    std::deque<Answer> answers;
    std::deque<std::optional<std::string>> inputAnswers;
    std::deque<std::optional<std::filesystem::path>> files;

protected:
    virtual void Unexpected(const std::string& what) = 0;

private:
    std::optional<std::filesystem::path> NextFile(const FileDialog& dialog)
    {
        dialogTitles.push_back(dialog.title);
        if (files.empty()) {
            Unexpected("dialog: " + dialog.title);
            return std::nullopt;
        }
        auto file = files.front();
        files.pop_front();
        return file;
    }
};

}  // namespace velmora::testing
