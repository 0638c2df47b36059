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

}  // namespace velmora
