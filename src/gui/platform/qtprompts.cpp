#include "platform/qtprompts.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace velmora {
namespace {

QString Q(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// "velmora|*.diet" becomes "velmora (*.diet)".
QString NameFilter(const std::string& filter)
{
    auto bar = filter.find('|');
    if (bar == std::string::npos) return Q(filter);
    return Q(filter.substr(0, bar)) + " (" + Q(filter.substr(bar + 1)) + ")";
}

}  // namespace

void QtPrompts::inform(std::string_view text)
{
    QMessageBox::information(m_parent, QApplication::applicationDisplayName(), Q(text));
}

Answer QtPrompts::ask(std::string_view text, Buttons buttons)
{
    QMessageBox::StandardButtons choice = QMessageBox::Ok;
    if (buttons == Buttons::YesNo) choice = QMessageBox::Yes | QMessageBox::No;
    if (buttons == Buttons::YesNoCancel) choice = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    auto answer = QMessageBox::question(m_parent, QApplication::applicationDisplayName(), Q(text), choice);
    switch (answer) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Cancel: return Answer::Cancel;
    default: return buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
    }
}

std::optional<std::string> QtPrompts::input(std::string_view title, std::string_view prompt, std::string_view initial)
{
    bool ok = false;
    QString text = QInputDialog::getText(m_parent, Q(title), Q(prompt), QLineEdit::Normal, Q(initial), &ok);
    if (!ok) return std::nullopt;
    return text.toStdString();
}

std::optional<std::filesystem::path> QtPrompts::openFile(const FileDialog& dialog)
{
    QString file = QFileDialog::getOpenFileName(m_parent, Q(dialog.title), QString::fromStdString(dialog.startFolder.string()),
                                                NameFilter(dialog.filter));
    if (file.isEmpty()) return std::nullopt;
    return std::filesystem::path(file.toStdString());
}

std::optional<std::filesystem::path> QtPrompts::saveFile(const FileDialog& dialog)
{
    QFileDialog::Options options;
    if (!dialog.confirmOverwrite) options |= QFileDialog::DontConfirmOverwrite;
    QString file = QFileDialog::getSaveFileName(m_parent, Q(dialog.title), QString::fromStdString(dialog.startFolder.string()),
                                                NameFilter(dialog.filter), nullptr, options);
    if (file.isEmpty()) return std::nullopt;
    return std::filesystem::path(file.toStdString());
}

}  // namespace velmora
