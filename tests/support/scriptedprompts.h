#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "core/prompts.h"

namespace velmora::testing {

// Records every text the user would see and hands out prepared answers; a question or dialog
// nobody prepared an answer for fails the test.
class ScriptedPrompts : public Prompts {
public:
    void inform(std::string_view text) override { messages.emplace_back(text); }
    Answer ask(std::string_view text, Buttons) override
    {
        questions.emplace_back(text);
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected question: " << text;
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
            ADD_FAILURE() << "unexpected input prompt: " << title;
            return std::nullopt;
        }
        auto answer = inputAnswers.front();
        inputAnswers.pop_front();
        return answer;
    }
    std::optional<std::filesystem::path> openFile(const FileDialog& dialog) override { return NextFile(dialog); }
    std::optional<std::filesystem::path> saveFile(const FileDialog& dialog) override { return NextFile(dialog); }

    std::vector<std::string> messages;
    std::vector<std::string> questions;
    std::vector<std::string> inputs;
    std::vector<std::string> dialogTitles;
    std::deque<Answer> answers;
    std::deque<std::optional<std::string>> inputAnswers;
    std::deque<std::optional<std::filesystem::path>> files;

private:
    std::optional<std::filesystem::path> NextFile(const FileDialog& dialog)
    {
        dialogTitles.push_back(dialog.title);
        if (files.empty()) {
            ADD_FAILURE() << "unexpected file dialog: " << dialog.title;
            return std::nullopt;
        }
        auto file = files.front();
        files.pop_front();
        return file;
    }
};

}  // namespace velmora::testing
