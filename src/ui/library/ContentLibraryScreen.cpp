#include "ui/library/ContentLibraryScreen.h"

#include "core/content/ContentManager.h"
#include "core/content/UserLibrary.h"
#include "core/settings/AppState.h"
#include "ui/controls/Style.h"
#include "ui/controls/ToolbarButton.h"
#include "ui/library/LibraryStyle.h"
#include "ui/library/PlainButton.h"
#include "ui/library/PromptScreens.h"

#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QVBoxLayout>

namespace velmor {

using libraryStyle::Level;

namespace {
constexpr int rowPadX = 14, rowPadY = 12, groupSpacing = 12;

QFont nameFont() {
    return libraryStyle::regular(15);
}
QFont countFont() {
    return libraryStyle::regular(13);
}
QFont smallFont() {
    return libraryStyle::regular(12);
}
} // namespace

ShelfRowButton::ShelfRowButton(AppState& appState, QWidget* parent)
    : QAbstractButton(parent), appState_(appState) {
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_Hover);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void ShelfRowButton::setRow(const ShelfRow& row) {
    row_ = row;
    setText(row.name);
    // One has a text of its own, so English reads right without a catalogue.
    QString name = row.count == 1 ? tr("%1, 1 prompt").arg(row.name)
                                  : tr("%1, %n prompts", nullptr, row.count).arg(row.name);
    if (row.favoriteCount == 1)
        name = tr("%1, 1 favorite").arg(name);
    else if (row.favoriteCount > 1)
        name = tr("%1, %n favorites", nullptr, row.favoriteCount).arg(name);
    setAccessibleName(name);
    update();
}

QSize ShelfRowButton::sizeHint() const {
    return QSize(300, QFontMetrics(nameFont()).height() + 2 * rowPadY);
}

void ShelfRowButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    if (hover_.value() > 0) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(libraryStyle::fill(this, 0.04 * hover_.value()));
        painter.drawRoundedRect(box, 8, 8);
    }
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1.2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(box, 8, 8);
    }
    const QRect inner = rect().adjusted(rowPadX, rowPadY, -rowPadX, -rowPadY);
    painter.setFont(nameFont());
    painter.setPen(libraryStyle::text(this, Level::primary));
    painter.drawText(inner, Qt::AlignLeft | Qt::AlignVCenter, row_.name);

    // The group on the right, laid out from the chevron leftwards.
    int x = inner.right() + 1;
    const auto symbol = [&](const QString& name, int size, const QColor& color) {
        x -= size;
        libraryStyle::paintSymbol(
            painter, name, QRectF(x, inner.center().y() - size / 2.0 + 0.5, size, size), color);
    };
    const auto word = [&](const QString& text, const QFont& font, const QColor& color) {
        const int w = QFontMetrics(font).horizontalAdvance(text);
        x -= w;
        painter.setFont(font);
        painter.setPen(color);
        painter.drawText(QRect(x, inner.y(), w + 1, inner.height()), Qt::AlignVCenter, text);
    };
    symbol(QStringLiteral("chevron.right"), 10, libraryStyle::text(this, Level::tertiary));
    if (row_.showAdd) {
        x -= groupSpacing;
        word(tr("+ Add"), smallFont(), libraryStyle::text(this, Level::secondary));
    }
    if (row_.favoriteCount > 0) {
        x -= groupSpacing;
        word(QString::number(row_.favoriteCount), smallFont(),
             libraryStyle::text(this, Level::secondary));
        x -= 3;
        symbol(QStringLiteral("heart.fill"), 10,
               libraryStyle::color(themeInfo(appState_.theme()).favoriteColor));
    }
    x -= groupSpacing;
    word(QString::number(row_.count), countFont(), libraryStyle::text(this, Level::secondary));
}

void ShelfRowButton::enterEvent(QEnterEvent* event) {
    hover_.moveTo(1, libraryMotion::shelfHoverMs, libraryMotion::easeInOut(), animated_, this,
                  [this] { update(); });
    QAbstractButton::enterEvent(event);
}

void ShelfRowButton::leaveEvent(QEvent* event) {
    hover_.moveTo(0, libraryMotion::shelfHoverMs, libraryMotion::easeInOut(), animated_, this,
                  [this] { update(); });
    QAbstractButton::leaveEvent(event);
}

ContentLibraryScreen::ContentLibraryScreen(UserLibrary& library, ContentManager& content,
                                           AppState& appState, QWidget* parent)
    : QWidget(parent), library_(library), content_(content), appState_(appState) {
    // Rows are filled while hovered, selected or edited: the library's text reads on those too.
    ui::markAsCardSurface(this);
    layout_ = new QVBoxLayout(this);
    layout_->setContentsMargins(0, 0, 0, 0);

    shelf_ = new QWidget(this);
    auto* column = new QVBoxLayout(shelf_);
    column->setContentsMargins(24, 24, 24, 24);
    column->setSpacing(16);
    auto* header = new QVBoxLayout;
    header->setSpacing(4);
    auto* title = new QLabel(tr("Your library"), shelf_);
    title->setFont(libraryStyle::regular(22));
    summary_ = new QLabel(shelf_);
    summary_->setFont(libraryStyle::regular(13));
    header->addWidget(title);
    header->addWidget(summary_);
    column->addLayout(header);

    auto* rows = new QVBoxLayout;
    rows->setSpacing(8);
    const bool animated = libraryMotion::enabled();
    for (int i = 0; i < int(allCategories.size()) + 1; ++i) {
        auto* row = new ShelfRowButton(appState_, shelf_);
        row->setAnimated(animated);
        rows_.append(row);
        rows->addWidget(row);
        connect(row, &QAbstractButton::clicked, this, [this, row] {
            if (row->row().category)
                openCategory(*row->row().category);
            else
                openYours();
        });
    }
    column->addLayout(rows);
    column->addStretch(1);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(16);
    export_ = new ui::ToolbarButton(
        tr("Export"), QStringLiteral("square.and.arrow.up"), [this] { exportLibrary(); }, shelf_);
    import_ = new ui::ToolbarButton(
        tr("Import"), QStringLiteral("square.and.arrow.down"), [this] { importLibrary(); }, shelf_);
    buttons->addWidget(export_);
    buttons->addWidget(import_);
    buttons->addStretch(1);
    column->addLayout(buttons);

    layout_->addWidget(shelf_);
    current_ = shelf_;
    connect(&library_, &UserLibrary::dataChanged, this, &ContentLibraryScreen::refreshShelf);
    connect(&appState_, &AppState::themeChanged, this, [this] { update(); });
    refreshShelf();
}

void ContentLibraryScreen::refreshShelf() {
    if (current_ != shelf_)
        return; // counted again when the shelf comes back
    const Shelf shelf = buildShelf(content_, library_);
    QPalette palette = summary_->palette();
    palette.setColor(QPalette::WindowText, libraryStyle::text(this, Level::secondary));
    summary_->setPalette(palette);
    summary_->setText(shelf.summary);
    for (int i = 0; i < rows_.size() && i < shelf.rows.size(); ++i)
        rows_[i]->setRow(shelf.rows[i]);
}

void ContentLibraryScreen::showView(QWidget* view) {
    if (current_ && current_ != shelf_) {
        // Gone from now on, even before the event loop deletes it (it may be in its own click).
        layout_->removeWidget(current_);
        current_->hide();
        disconnect(&library_, nullptr, current_, nullptr);
        disconnect(&appState_, nullptr, current_, nullptr);
        current_->deleteLater();
    }
    current_ = view;
    shelf_->setVisible(view == shelf_);
    if (view != shelf_) {
        layout_->addWidget(view);
        view->show();
        if (auto* screen = qobject_cast<PromptListScreen*>(view)) {
            connect(screen, &PromptListScreen::backRequested, this,
                    &ContentLibraryScreen::showShelf);
            screen->backButton()->setFocus();
        }
    } else {
        refreshShelf();
    }
}

void ContentLibraryScreen::openCategory(PromptCategory category) {
    showView(new CategoryDetailView(category, library_, content_, appState_, this));
}

void ContentLibraryScreen::openYours() {
    auto* view = new YourPromptsView(library_, content_, appState_, this);
    showView(view);
    view->promptField()->setFocus();
}

void ContentLibraryScreen::showShelf() {
    showView(shelf_);
}

namespace {
QStringList libraryFilters() {
    return {ContentLibraryScreen::tr("Velmor library (*.velmor *.json)"),
            ContentLibraryScreen::tr("All files (*)")};
}
} // namespace

void ContentLibraryScreen::exportLibrary() {
    if (!window()->isVisible())
        return;
    auto* dialog = new QFileDialog(window(), tr("Save your Velmor library"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setNameFilters(libraryFilters());
    dialog->selectFile(QString::fromLatin1(suggestedLibraryFileName));
    connect(dialog, &QFileDialog::fileSelected, this,
            [this](const QString& path) { exportTo(path); });
    dialog->open();
}

void ContentLibraryScreen::importLibrary() {
    if (!window()->isVisible())
        return;
    auto* dialog = new QFileDialog(window(), tr("Choose a Velmor library file"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setNameFilters(libraryFilters());
    connect(dialog, &QFileDialog::fileSelected, this,
            [this](const QString& path) { importFrom(path); });
    dialog->open();
}

bool ContentLibraryScreen::exportTo(const QString& path) {
    return exportLibraryFile(library_.data(), path);
}

ImportResult ContentLibraryScreen::importFrom(const QString& path) {
    return importLibraryFile(path, library_);
}

} // namespace velmor
