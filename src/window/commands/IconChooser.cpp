#include "commands/IconChooser.h"

#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "Thumbnails.h"
#include "controls/PictureImage.h"
#include "platform/FileNames.h"

namespace mosaikon {

namespace {

constexpr int kPictureSide = 48;

// The picture fitted into 48 × 48: a larger one averaged down from its samples alone (it may be
// a huge image left in its file), a smaller one enlarged without blurring its pixels.
QIcon iconOf(const Picture& picture) {
    if (picture.isEmpty()) {
        return {};
    }
    return QIcon(QPixmap::fromImage(
        pictureImage(fittedPicture(picture, kPictureSide))
            .scaled(kPictureSide, kPictureSide, Qt::KeepAspectRatio, Qt::FastTransformation)));
}

QString imageText(const ChoosableImage& image) {
    QString text = QObject::tr("%1 × %2").arg(image.width).arg(image.height);
    if (image.bitCount > 0) {
        text += QObject::tr(", %1 bits").arg(image.bitCount);
    }
    return text + (image.png ? QObject::tr(", PNG") : QObject::tr(", bitmap"));
}

}  // namespace

IconChooser::IconChooser(const IconFileImages& images, const QString& fileName, QWidget* parent)
    : QDialog(parent), m_list(new QListWidget(this)) {
    build(tr("Open Icon"), tr("Which image of %1 do you want to open?").arg(fileName));
    for (const ChoosableImage& image : images.images) {
        addChoice(image.picture, imageText(image), image.problem);
    }
    m_list->setCurrentRow(static_cast<int>(images.opened));
}

IconChooser::IconChooser(const std::vector<ChoosableGroup>& groups, const QString& fileName,
                         QWidget* parent)
    : QDialog(parent), m_list(new QListWidget(this)) {
    build(tr("Extract Icon"), tr("Which icon of %1 do you want to take?").arg(fileName));
    for (const ChoosableGroup& group : groups) {
        QStringList sizes;
        for (const std::string& size : group.sizes) {
            sizes << QString::fromStdString(size);
        }
        addChoice(
            group.picture,
            tr("%1\n%2").arg(QString::fromStdString(group.name), sizes.join(QStringLiteral("; "))),
            group.problem);
    }
    m_list->setCurrentRow(0);
}

void IconChooser::build(const QString& title, const QString& question) {
    setObjectName(QStringLiteral("IconChooser"));
    setWindowTitle(tr("%1 — %2").arg(title, QGuiApplication::applicationDisplayName()));
    auto* label = new QLabel(question, this);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setBuddy(m_list);
    m_list->setIconSize(QSize(kPictureSide, kPictureSide));
    m_list->setAccessibleName(question);
    m_list->setWordWrap(true);  // a group of many sizes takes several lines
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(m_list, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        if (item->flags().testFlag(Qt::ItemIsEnabled)) {
            accept();
        }
    });
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Open | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // An entry that cannot be read cannot be taken.
    connect(m_list, &QListWidget::currentRowChanged, this, [this, buttons](int row) {
        const QListWidgetItem* item = m_list->item(row);
        buttons->button(QDialogButtonBox::Open)
            ->setEnabled(item != nullptr && item->flags().testFlag(Qt::ItemIsEnabled));
    });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_list);
    layout->addWidget(buttons);
    resize(420, 360);
}

void IconChooser::addChoice(const Picture& picture, const QString& text,
                            const std::optional<FileError>& problem) {
    auto* item = new QListWidgetItem(iconOf(picture), text, m_list);
    if (problem) {
        item->setText(tr("%1 (cannot be read: %2)").arg(text, fromFileName(problem->problem())));
        item->setFlags(item->flags() & ~Qt::ItemIsEnabled);
    }
}

std::optional<std::size_t> IconChooser::choose() {
    m_list->setFocus();
    if (exec() != QDialog::Accepted || m_list->currentRow() < 0) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(m_list->currentRow());
}

}  // namespace mosaikon
