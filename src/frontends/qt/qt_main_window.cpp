// The main window's widgets, made by walking the form's table, and their events. The close
// box, the buttons, the drive list (a pick and a key press) and the menu all enter the logic
// through the boundary.
#include "frontends/qt/qt_main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QEvent>
#include <QFileDialog>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTextDocument>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "frontends/qt/pictures.h"
#include "frontends/qt/twips.h"
#include "frontends/qt/udisks_drives.h"
#include "platform/error.h"
#include "platform/image_drives.h"
#include "platform/instance_lock.h"
#include "ui/session_log.h"
#include "wizard/events.h"

namespace qtui {

namespace {

class FormWindow : public QMainWindow {
  public:
    std::function<void(QCloseEvent*)> onClose;

  protected:
    void closeEvent(QCloseEvent* event) override {
        if (onClose)
            onClose(event);
        else
            event->accept();
    }
};

// The drive list: it lists the drives there are when it opens, so that a card reader plugged
// in after start-up can be chosen.
class DriveCombo : public QComboBox {
  public:
    std::function<void()> beforePopup;

    void showPopup() override {
        if (beforePopup)
            beforePopup();
        QComboBox::showPopup();
    }
};

// Passes key presses in the drive list to the logic before the list handles them.
class KeyDownFilter : public QObject {
  public:
    explicit KeyDownFilter(QObject* parent) : QObject(parent) {}

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        // Tab moves the focus on, as on the designed-for platform, without a key event.
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Tab || key == Qt::Key_Backtab)
            return false;
        // Once the program has ended, the key goes nowhere.
        return !wizard::handle(wizard::Event::driveListKeyDown);
    }
};

// The lock is taken by the desktop main before anything else; a window made without it
// (tests) takes it on first use.
bool instanceLockHeldElsewhere() {
    if (platform::instanceLockState() == platform::LockState::notTried) {
        try {
            platform::acquireInstanceLock(platform::instanceLockFile());
        } catch (const platform::Error&) {
            return false;  // no place for a lock: the check is skipped
        }
    }
    return platform::instanceLockState() == platform::LockState::heldElsewhere;
}

QMessageBox::Icon boxIcon(ui::Icon icon) {
    switch (icon) {
        case ui::Icon::critical:
            return QMessageBox::Critical;
        case ui::Icon::question:
            return QMessageBox::Question;
        case ui::Icon::exclamation:
            return QMessageBox::Warning;
        case ui::Icon::information:
            return QMessageBox::Information;
        case ui::Icon::none:
            break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton boxButton(ui::Answer answer) {
    switch (answer) {
        case ui::Answer::yes:
            return QMessageBox::Yes;
        case ui::Answer::no:
            return QMessageBox::No;
        case ui::Answer::ok:
            break;
    }
    return QMessageBox::Ok;
}

}  // namespace

QtMainWindow::QtMainWindow()
    : form_(std::make_unique<FormWindow>()),
      about_(form_.get()),
      instanceCheck_(instanceLockHeldElsewhere) {
    build();
    connectEvents();
    resize(height());
}

QtMainWindow::~QtMainWindow() = default;

void QtMainWindow::buildMenu() {
    std::map<std::string_view, QMenu*> dropDowns;
    for (const ui::form::MenuEntry& entry : ui::form::menu()) {
        QWidget* holder = form_->menuBar();
        if (!entry.dropDown.empty()) {
            QMenu*& menu = dropDowns[entry.dropDown];
            if (menu == nullptr) {
                menu = form_->menuBar()->addMenu(QString::fromUtf8(entry.dropDown));
                menu->setObjectName(QString::fromUtf8(entry.dropDown));
            }
            holder = menu;
        }
        QAction* action = new QAction(QString::fromUtf8(entry.text), holder);
        holder->addAction(action);
        action->setObjectName(QString::fromUtf8(entry.name));
        action->setEnabled(entry.enabled);
        QObject::connect(action, &QAction::triggered, form_.get(),
                         [this, id = entry.id] { wizard::menuChosen(id, *this); });
    }
}

// One widget of the form, with its adapter where the logic reaches it.
QWidget* QtMainWindow::makeControl(const ui::form::Control& c) {
    using enum ui::form::Kind;
    const double scale = pictureScale(client_);
    switch (c.kind) {
        case picture: {
            auto* label = new QLabel;
            const double dpr = client_->devicePixelRatioF();
            label->setPixmap(c.art == ui::form::Art::title       ? pictures::title(scale, dpr)
                             : c.art == ui::form::Art::diskettes ? pictures::diskettes(scale, dpr)
                                                                 : pictures::card(scale, dpr));
            label->setAlignment(Qt::AlignCenter);
            return label;
        }
        case statusBox: {
            auto* status = new QPlainTextEdit;
            status->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            status->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            // Made for a narrow sans serif at 11 points: its two- and three-line statuses fit.
            status->setFont(narrowSans(status->font()));
            status->document()->setDocumentMargin(2);
            mainText_ = std::make_unique<QtTextBox>(status);
            return status;
        }
        case logBox: {
            auto* log = new QPlainTextEdit;
            log->setReadOnly(true);
            log->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            log->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
            logText_ = std::make_unique<QtTextBox>(log);
            return log;
        }
        case progressBar: {
            auto* bar = new QProgressBar;
            bar->setTextVisible(false);
            progressBar_ = std::make_unique<QtProgressBar>(bar);
            return bar;
        }
        case driveList: {
            auto* combo = new DriveCombo;
            driveList_ = std::make_unique<QtDriveList>(combo);
            combo->beforePopup = [this] { driveList_->refreshDrives(); };
            return combo;
        }
        case label: {
            auto* lbl = new QLabel;
            lbl->setTextFormat(Qt::PlainText);
            lbl->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            lbl->setWordWrap(true);
            return lbl;
        }
        case button:
        case defaultButton:
        case pictureHolder: {
            auto* b = new QPushButton;
            auto adapter = std::make_unique<QtButton>(b, scale);
            adapter->setPicture(c.picture);
            buttons_[c.name] = std::move(adapter);
            return b;
        }
    }
    return nullptr;
}

void QtMainWindow::build() {
    form_->setObjectName("MainWindow");
    buildMenu();
    client_ = new QWidget;
    client_->setObjectName("client");
    form_->setCentralWidget(client_);
    for (const ui::form::Control& c : ui::form::mainControls()) {
        QWidget* w = makeControl(c);
        w->setParent(client_);
        w->setObjectName(QString::fromUtf8(c.name));
        w->setGeometry(twipsRect(client_, c.place));
        if (!c.visible)
            w->hide();
    }
    // The labels take their widgets once placed: the fit rule measures their room.
    driveSize_.attach(client_->findChild<QLabel*>("DriveSize"));
    summaryLabel_.attach(client_->findChild<QLabel*>("Label2"));
    mainText_->setText("Please wait...");
    logText_->setLocked(true);
    for (size_t i = 0; i < frameLines().size(); ++i)
        lines_.push_back(
            std::make_unique<QtLine>(client_, QString("Line%1").arg(i + 1), frameLines()[i]));
    const auto order = ui::form::tabOrder();
    for (size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(client_->findChild<QWidget*>(QString::fromUtf8(order[i - 1])),
                             client_->findChild<QWidget*>(QString::fromUtf8(order[i])));
    attach({mainText_.get(), logText_.get(), &driveSize_, &summaryLabel_,
            buttons_.at("buttonOK").get(), buttons_.at("buttonBack").get(),
            buttons_.at("buttonExit").get(), buttons_.at("buttonLog").get(), driveList_.get(),
            progressBar_.get(), &about_});
}

void QtMainWindow::connectEvents() {
    for (const ui::form::Control& c : ui::form::mainControls()) {
        if (c.click)
            QObject::connect(client_->findChild<QPushButton*>(QString::fromUtf8(c.name)),
                             &QPushButton::clicked, client_,
                             [event = *c.click] { wizard::handle(event); });
    }

    auto* combo = client_->findChild<QComboBox*>("DriveList");
    QObject::connect(combo, &QComboBox::activated, client_, [this](int index) {
        wizard::handleDrivePicked(static_cast<int16_t>(index));
        // Whatever the handling did (went back to another drive, ended), show the list's index.
        driveList_->showCurrent();
    });
    combo->installEventFilter(new KeyDownFilter(combo));

    static_cast<FormWindow*>(form_.get())->onClose = [this](QCloseEvent* event) {
        if (quitCalled() || wizard::handleCloseRequest())
            event->accept();
        else
            event->ignore();
    };
}

namespace {

std::string utf8(const QString& text) {
    return text.toUtf8().toStdString();
}

}  // namespace

std::string QtMainWindow::openImageFile(const std::string& proposal) {
    return utf8(QFileDialog::getOpenFileName(
        form_.get(), "Diskette image", QString::fromStdString(proposal),
        "Diskette images (*.img *.ima *.dsk *.vfd *.flp);;All files (*)"));
}

std::string QtMainWindow::openFolder(const std::string& current) {
    return utf8(QFileDialog::getExistingDirectory(
        form_.get(), "Keep diskette images", QString::fromStdString(current),
        QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog));
}

// The drive that holds the card to check, from the drives as the drive list shows them.
std::string QtMainWindow::pickCardDrive(const std::vector<std::string>& entries,
                                        const std::string& proposed) {
    QStringList items;
    for (const std::string& e : entries)
        items << QString::fromStdString(e);
    const auto at = std::find(entries.begin(), entries.end(), proposed);
    QInputDialog dialog(form_.get());
    dialog.setObjectName("CheckCardDialog");
    dialog.setWindowTitle("Check Compact Flash card");
    dialog.setLabelText("The drive that holds the Compact Flash card:");
    dialog.setComboBoxItems(items);
    dialog.setComboBoxEditable(false);
    if (at != entries.end())
        dialog.setTextValue(items[static_cast<qsizetype>(at - entries.begin())]);
    if (dialog.exec() != QDialog::Accepted)
        return "";
    return utf8(dialog.textValue());
}

// The log folder and the guide, in the desktop's file manager and viewer.
bool QtMainWindow::openLocal(const std::filesystem::path& path) {
    const std::u8string name = path.u8string();
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromUtf8(
        reinterpret_cast<const char*>(name.data()), static_cast<qsizetype>(name.size()))));
}

void QtMainWindow::setMenuText(ui::form::Menu entry, const std::string& text) {
    form_->findChild<QAction*>(QString::fromUtf8(ui::form::menuEntry(entry).name))
        ->setText(QString::fromStdString(text));
}

std::string QtMainWindow::caption() const {
    return form_->windowTitle().toStdString();
}

void QtMainWindow::setCaption(const std::string& caption) {
    form_->setWindowTitle(QString::fromStdString(caption));
}

void QtMainWindow::resize(int twips) {
    const int width = pxX(client_, ui::form::clientWidth);
    const int client = std::max(0, pxY(client_, twips - ui::form::nonClientHeight));
    client_->setFixedSize(width, client);
    form_->setFixedSize(width, form_->menuBar()->sizeHint().height() + client);
}

void QtMainWindow::show() {
    form_->show();
    form_->raise();
    form_->activateWindow();
}

bool QtMainWindow::focused(std::string_view name) const {
    for (QWidget* w = form_->focusWidget(); w != nullptr && w != form_.get();
         w = w->parentWidget()) {
        if (w->objectName() == QString::fromUtf8(name))
            return true;
    }
    return false;
}

void QtMainWindow::answerBoxes(std::function<void(QMessageBox&)> observer) {
    answering_ = true;
    observer_ = std::move(observer);
}

ui::Answer QtMainWindow::showBox(const std::string& text, ui::Buttons buttons, ui::Icon icon,
                                 const std::string& title) {
    QMessageBox box(form_->isVisible() ? form_.get() : nullptr);
    box.setObjectName("msgBox");
    box.setWindowTitle(QString::fromStdString(title));
    box.setTextFormat(Qt::PlainText);
    box.setText(shownText(text));
    box.setIcon(boxIcon(icon));
    if (buttons == ui::Buttons::yesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }

    if (answering_) {
        ui::Answer planned = ui::Answer::ok;
        if (buttons == ui::Buttons::yesNo) {
            const auto queued = nextAnswer();
            if (!queued)
                ++unanswered_;
            planned = queued.value_or(ui::Answer::no);
        }
        QTimer::singleShot(0, &box, [this, &box, planned] {
            if (observer_)
                observer_(box);
            if (QAbstractButton* b = box.button(boxButton(planned)))
                b->click();
        });
    }
    box.exec();

    // Closed any other way (Esc, the close box), a question counts as answered No.
    ui::Answer answer = buttons == ui::Buttons::ok ? ui::Answer::ok : ui::Answer::no;
    if (box.clickedButton() != nullptr && box.clickedButton() == box.button(QMessageBox::Yes))
        answer = ui::Answer::yes;
    return answer;
}

bool QtMainWindow::anotherInstanceRunning() {
    return instanceCheck_ && instanceCheck_();
}

void QtMainWindow::setImageDrives(platform::ImageDriveTable* drives) {
    imageDrives_ = drives;
    form_->findChild<QAction*>("DisketteImage")->setEnabled(drives != nullptr);
}

void QtMainWindow::watchDrives(UDisksDriveTable* drives) {
    QObject::connect(drives, &UDisksDriveTable::drivesChanged, form_.get(),
                     [] { wizard::handle(wizard::Event::drivesChanged); });
}

void QtMainWindow::keepAlive() {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void QtMainWindow::close() {
    if (about_.dialog() != nullptr)
        about_.dialog()->hide();
    form_->close();
    QCoreApplication::quit();
}

}  // namespace qtui
