#pragma once

#include <QDialog>
#include <optional>

#include "ImageChoices.h"

class QListWidget;

namespace mosaikon {

// Asks which of a file's icons to take: the images of an icon file, or the icon groups of a
// program file, each shown with its picture and sizes; one that cannot be read is listed,
// greyed, with the reason. Arrows choose, Return takes, Escape cancels; each item's text is
// what a screen reader says of it.
class IconChooser : public QDialog {
    Q_OBJECT
public:
    IconChooser(const IconFileImages& images, const QString& fileName, QWidget* parent);
    IconChooser(const std::vector<ChoosableGroup>& groups, const QString& fileName,
                QWidget* parent);

    // The chosen entry's index, or none when the person cancelled.
    std::optional<std::size_t> choose();

    QListWidget* list() const { return m_list; }

private:
    void build(const QString& title, const QString& question);
    void addChoice(const Picture& picture, const QString& text,
                   const std::optional<FileError>& problem);

    QListWidget* m_list;
};

}  // namespace mosaikon
