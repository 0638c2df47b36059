#pragma once

#include <QWidget>

#include "core/prompts.h"

namespace velmora {

// Questions and messages of the model as the desktop program's dialogs.
class QtPrompts : public Prompts {
public:
    explicit QtPrompts(QWidget* parent = nullptr) : m_parent(parent) {}
    void SetParent(QWidget* parent) { m_parent = parent; }

    void inform(std::string_view text) override;
    Answer ask(std::string_view text, Buttons buttons) override;
    std::optional<std::string> input(std::string_view title, std::string_view prompt, std::string_view initial) override;
    std::optional<std::filesystem::path> openFile(const FileDialog& dialog) override;
    std::optional<std::filesystem::path> saveFile(const FileDialog& dialog) override;

private:
    QWidget* m_parent;
};

// Hands every call on to the current target: the windows keep one reference while tests swap the
// dialogs for a script.
class PromptsSwitch : public Prompts {
public:
    explicit PromptsSwitch(Prompts* target) : m_target(target) {}
    void SetTarget(Prompts* target) { m_target = target; }

    void inform(std::string_view text) override { m_target->inform(text); }
    Answer ask(std::string_view text, Buttons buttons) override { return m_target->ask(text, buttons); }
    std::optional<std::string> input(std::string_view title, std::string_view prompt, std::string_view initial) override
    {
        return m_target->input(title, prompt, initial);
    }
    std::optional<std::filesystem::path> openFile(const FileDialog& dialog) override { return m_target->openFile(dialog); }
    std::optional<std::filesystem::path> saveFile(const FileDialog& dialog) override { return m_target->saveFile(dialog); }

private:
    Prompts* m_target;
};

}  // namespace velmora
