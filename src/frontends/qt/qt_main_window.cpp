// Form1's widgets and their events. Controls are placed by their twips on the client area;
// the pictures lie lowest, so the status box and the progress bar that overlap them stay
// readable. The close box, the buttons, the drive list (a pick and a key press), the About
// entry and the About box all enter the logic through Form1::dispatch.
#include "frontends/qt/qt_main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QEvent>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
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
#include <tuple>

#include "frontends/qt/pictures.h"
#include "frontends/qt/twips.h"
#include "frontends/qt/udisks_drives.h"
#include "platform/error.h"
#include "platform/image_drives.h"
#include "platform/instance_lock.h"
#include "ui/session_log.h"
#include "wizard/events.h"
#include "wizard/form1.h"

namespace qtui {

namespace {

// The outer height less the client area on the designed-for platform: 6990 - 6375.
constexpr int nonClientTwips = 615;
constexpr int clientWidthTwips = 8145;

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
    setHeight(6990);
}

QtMainWindow::~QtMainWindow() = default;

const char* const QtMainWindow::keepImagesText = "Keep diskette images...";

void QtMainWindow::build() {
    QMainWindow* form = form_.get();
    form->setObjectName("Form1");
    QAction* image = form->menuBar()->addAction("Diskette image...");
    image->setObjectName("DisketteImage");
    image->setEnabled(false);
    QAction* keep = form->menuBar()->addAction(keepImagesText);
    keep->setObjectName("KeepImages");
    form->menuBar()->addAction("Log folder")->setObjectName("LogFolder");
    form->menuBar()->addAction("Guide")->setObjectName("Guide");
    QAction* about = form->menuBar()->addAction("About");
    about->setObjectName("About");
    client_ = new QWidget;
    client_->setObjectName("client");
    form->setCentralWidget(client_);

    const double scale = pictureScale(client_);
    const double dpr = client_->devicePixelRatioF();
    auto place = [this](QWidget* w, const char* name, int left, int top, int width, int height) {
        w->setParent(client_);
        w->setObjectName(name);
        w->setGeometry(twipsRect(client_, left, top, width, height));
    };
    auto picture = [&](const char* name, const QPixmap& pixmap, int l, int t, int w, int h) {
        auto* label = new QLabel;
        place(label, name, l, t, w, h);
        label->setPixmap(pixmap);
        label->setAlignment(Qt::AlignCenter);
    };
    picture("Image1", pictures::title(scale, dpr), 240, 240, 7575, 540);
    picture("Picture1", pictures::diskettes(scale, dpr), 3585, 1440, 2895, 3015);
    picture("Picture2", pictures::card(scale, dpr), 5895, 3480, 1815, 1645);

    auto* status = new QPlainTextEdit;
    place(status, "mainText", 240, 840, 3855, 1095);
    status->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    status->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Made for a narrow sans serif at 11 points: its two- and three-line statuses fit.
    status->setFont(narrowSans(status->font()));
    status->document()->setDocumentMargin(2);
    mainText_ = std::make_unique<QtTextBox>(status);
    mainText_->setText("Please wait...");

    // The two holders of the Log button's pictures, never shown.
    for (auto [name, pic, top] : {std::tuple{"showLog", ui::Picture::showLog, 1080},
                                  std::tuple{"hideLog", ui::Picture::hideLog, 1440}}) {
        auto* holder = new QPushButton;
        place(holder, name, 3000, top, 855, 255);
        QtButton(holder, scale).setPicture(pic);
        holder->hide();
    }

    auto* bar = new QProgressBar;
    place(bar, "ProgressBar1", 240, 1800, 3855, 255);
    bar->setTextVisible(false);
    progressBar1_ = std::make_unique<QtProgressBar>(bar);

    auto* combo = new DriveCombo;
    place(combo, "DriveList", 240, 2400, 3255, 315);
    driveList_ = std::make_unique<QtDriveList>(combo);
    combo->beforePopup = [this] { driveList_->refreshDrives(); };

    auto label = [&](const char* name, int l, int t, int w, int h) {
        auto* lbl = new QLabel;
        place(lbl, name, l, t, w, h);
        lbl->setTextFormat(Qt::PlainText);
        lbl->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        lbl->setWordWrap(true);
        return lbl;
    };
    driveSize_.attach(label("DriveSize", 240, 2760, 3255, 1095));
    label2_.attach(label("Label2", 240, 4320, 2415, 855));

    auto button = [&](const char* name, ui::Picture pic, int left) {
        auto* b = new QPushButton;
        place(b, name, left, 5500, 1350, 645);
        auto adapter = std::make_unique<QtButton>(b, scale);
        adapter->setPicture(pic);
        return adapter;
    };
    buttonExit_ = button("buttonExit", ui::Picture::exit, 240);
    buttonBack_ = button("buttonBack", ui::Picture::back, 1680);
    buttonOK_ = button("buttonOK", ui::Picture::ok, 3120);
    buttonLog_ = button("buttonLog", ui::Picture::showLog, 6360);

    auto* log = new QPlainTextEdit;
    place(log, "logText", 240, 6200, 7455, 2655);
    log->setReadOnly(true);
    log->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    log->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    log->hide();
    logText_ = std::make_unique<QtTextBox>(log);
    logText_->setLocked(true);

    lines_.push_back(std::make_unique<QtLine>(client_, "Line1", 120, 120, 8040, 120));
    lines_.push_back(std::make_unique<QtLine>(client_, "Line2", 8040, 120, 8040, 6240));
    lines_.push_back(std::make_unique<QtLine>(client_, "Line3", 120, 6240, 8040, 6240));
    lines_.push_back(std::make_unique<QtLine>(client_, "Line4", 120, 120, 120, 6240));

    // The drive list comes first in the tab order.
    QWidget::setTabOrder(combo, client_->findChild<QPushButton*>("buttonOK"));
    QWidget::setTabOrder(client_->findChild<QPushButton*>("buttonOK"),
                         client_->findChild<QPushButton*>("buttonBack"));
    QWidget::setTabOrder(client_->findChild<QPushButton*>("buttonBack"),
                         client_->findChild<QPushButton*>("buttonExit"));
    QWidget::setTabOrder(client_->findChild<QPushButton*>("buttonExit"),
                         client_->findChild<QPushButton*>("buttonLog"));
}

void QtMainWindow::connectEvents() {
    auto clicked = [this](const char* name, wizard::Event event) {
        QObject::connect(client_->findChild<QPushButton*>(name), &QPushButton::clicked, client_,
                         [event] { wizard::handle(event); });
    };
    clicked("buttonOK", wizard::Event::okClick);
    clicked("buttonBack", wizard::Event::backClick);
    clicked("buttonExit", wizard::Event::exitClick);
    clicked("buttonLog", wizard::Event::logClick);

    QObject::connect(form_->findChild<QAction*>("DisketteImage"), &QAction::triggered, client_,
                     [this] { chooseDisketteImage(); });
    QObject::connect(form_->findChild<QAction*>("KeepImages"), &QAction::triggered, client_,
                     [this] { chooseKeptImagesFolder(); });
    // The log folder and the guide, in the desktop's file manager and viewer.
    auto openLocal = [](const std::filesystem::path& path) {
        const std::u8string name = path.u8string();
        return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromUtf8(
            reinterpret_cast<const char*>(name.data()), static_cast<qsizetype>(name.size()))));
    };
    QObject::connect(form_->findChild<QAction*>("LogFolder"), &QAction::triggered, client_,
                     [openLocal] { ui::showLogFolder(openLocal); });
    QObject::connect(form_->findChild<QAction*>("Guide"), &QAction::triggered, client_,
                     [openLocal] { ui::showGuide(openLocal); });
    QObject::connect(form_->findChild<QAction*>("About"), &QAction::triggered, client_,
                     [] { wizard::handle(wizard::Event::aboutClick); });

    auto* combo = client_->findChild<QComboBox*>("DriveList");
    QObject::connect(combo, &QComboBox::activated, client_, [this](int index) {
        wizard::handleDrivePicked(static_cast<int16_t>(index));
        // Whatever the handling did (went back to another drive, ended), show the list's index.
        driveList_->showCurrent();
    });
    combo->installEventFilter(new KeyDownFilter(combo));

    static_cast<FormWindow*>(form_.get())->onClose = [this](QCloseEvent* event) {
        if (quit_ || wizard::handleCloseRequest())
            event->accept();
        else
            event->ignore();
    };
}

ui::Line& QtMainWindow::line(int n) {
    if (n < 1 || n > static_cast<int>(lines_.size()))
        platform::raise(platform::err::subscriptOutOfRange);
    return *lines_[static_cast<size_t>(n - 1)];
}

std::string QtMainWindow::caption() const {
    return form_->windowTitle().toStdString();
}

void QtMainWindow::setCaption(const std::string& caption) {
    form_->setWindowTitle(QString::fromStdString(caption));
}

void QtMainWindow::setHeight(int twips) {
    height_ = twips;
    const int width = pxX(client_, clientWidthTwips);
    const int client = std::max(0, pxY(client_, twips - nonClientTwips));
    client_->setFixedSize(width, client);
    form_->setFixedSize(width, form_->menuBar()->sizeHint().height() + client);
}

void QtMainWindow::show() {
    form_->show();
    form_->raise();
    form_->activateWindow();
}

std::string QtMainWindow::focus() const {
    static const char* const names[] = {"mainText",   "logText",    "DriveList", "buttonOK",
                                        "buttonBack", "buttonExit", "buttonLog"};
    for (QWidget* w = form_->focusWidget(); w != nullptr && w != form_.get();
         w = w->parentWidget()) {
        for (const char* name : names) {
            if (w->objectName() == name)
                return name;
        }
    }
    return "";
}

void QtMainWindow::answerBoxes(std::function<void(QMessageBox&)> observer) {
    answering_ = true;
    observer_ = std::move(observer);
}

ui::Answer QtMainWindow::msgBox(const std::string& text, ui::Buttons buttons, ui::Icon icon,
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
            if (answers_.empty()) {
                ++unanswered_;
                planned = ui::Answer::no;
            } else {
                planned = answers_.front();
                answers_.pop_front();
            }
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
    boxes_.push_back({text, buttons, icon, title, answer});
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

// The file dialog opens where the last image was, proposing the next one of its series.
void QtMainWindow::chooseDisketteImage() {
    if (imageDrives_ == nullptr || wizard::busy())
        return;
    const QString proposal =
        lastImage_.isEmpty()
            ? QString()
            : QString::fromStdString(platform::nextInSeries(lastImage_.toStdString()));
    const QString file = QFileDialog::getOpenFileName(
        form_.get(), "Diskette image", proposal,
        "Diskette images (*.img *.ima *.dsk *.vfd *.flp);;All files (*)");
    if (file.isEmpty())
        return;
    try {
        imageDrives_->putImage(file.toStdString());
    } catch (const platform::Error& e) {
        QMessageBox::critical(form_.get(), "Error!", QString::fromStdString(e.description()));
        return;
    }
    lastImage_ = file;
    wizard::handle(wizard::Event::imageChosen);
}

// A folder for the diskettes' images; the entry wears a check mark from then on (a menu bar
// draws none of its own).
void QtMainWindow::chooseKeptImagesFolder() {
    if (wizard::busy())
        return;
    const QString folder = QFileDialog::getExistingDirectory(
        form_.get(), "Keep diskette images", QString::fromStdString(Form1::keptImagesFolder()),
        QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    if (!folder.isEmpty())
        Form1::keepImagesIn(folder.toStdString());
    const bool on = !Form1::keptImagesFolder().empty();
    form_->findChild<QAction*>("KeepImages")
        ->setText(on ? QString::fromUtf8("\xE2\x9C\x93 ") + keepImagesText : keepImagesText);
}

void QtMainWindow::keepAlive() {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void QtMainWindow::quit() {
    if (quit_)
        return;
    quit_ = true;
    if (about_.dialog() != nullptr)
        about_.dialog()->hide();
    form_->close();
    QCoreApplication::quit();
}

}  // namespace qtui
