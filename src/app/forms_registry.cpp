#include "app/forms_registry.h"

#include "about/frm_about.h"
#include "about/frm_help.h"
#include "controls/rich_text_box.h"
#include "guide/frm_guide.h"
#include "mainwin/frm_main.h"
#include "mainwin/sheet_file.h"
#include "quiz/frm_face.h"
#include "recordwin/frm_record.h"
#include "settings/frm_settings.h"

#include <QCoreApplication>
#include <QPointer>

namespace drillpad {

namespace {

std::function<void(FormId)> &unloadObserver() {
    static std::function<void(FormId)> observer;
    return observer;
}

void deleteRemainingForms();

void registerCleanup() {
    static bool registered = false;
    if (!registered) {
        registered = true;
        // Windows still loaded when the application object goes are deleted
        // while Qt still exists.
        qAddPostRoutine(deleteRemainingForms);
    }
}

template <typename Form> class FormInstance {
public:
    // Connects a new instance to the windows it works with.
    using Connect = void (*)(Form &);

    explicit FormInstance(Connect connect = nullptr) : connect_(connect) {}

    Form &get() {
        if (!form_) {
            registerCleanup();
            form_ = new Form();
            if (connect_)
                connect_(*form_);
        }
        return *form_;
    }
    bool loaded() const { return !form_.isNull(); }

    void unload(FormId id) {
        if (!form_ || unloading_)
            return;
        unloading_ = true;
        if (unloadObserver())
            unloadObserver()(id);
        if constexpr (requires(Form & f) { f.formUnload(); })
            form_->formUnload();
        Form *form = form_.data();
        form_.clear();
        unloading_ = false;
        if (form) {
            form->hide(); // ends the modal loop the window may be running
            form->deleteLater();
        }
    }

    void destroyNow() {
        delete form_.data();
        form_.clear();
    }

private:
    QPointer<Form> form_;
    bool unloading_ = false;
    Connect connect_;
};

// The sheet the wizard writes or empties is the main window's document;
// work in it not yet saved is offered for saving first.
void connectGuide(FrmGuide &guide) {
    guide.setSheetGuard([&guide] { return offerToSaveSheet(frmMain(), &guide); });
    QObject::connect(&guide, &FrmGuide::sheetReplaced, &guide, [](const QString &text) {
        RichTextBox *sheet = frmMain().txtMain();
        // A new sheet is random and cannot be made again: like an edit, it
        // is unsaved until saved. An emptied one holds nothing to save.
        sheet->setText(text);
        if (text.isEmpty())
            sheet->document()->setModified(false);
    });
}

// The record's "重做错题" asks its questions in the quiz window.
void connectRecord(FrmRecord &record) {
    QObject::connect(&record, &FrmRecord::redoRequested, &record,
                     [](const QList<AnswerEntry> &questions) {
                         FrmFace &face = frmFace();
                         if (face.startRedo(questions))
                             face.showModal();
                     });
}

// A preset chosen in "出题设置" fills the wizard's ticks, ranges and counts,
// whether it was opened from the wizard or from the main window's menu.
void connectSettings(FrmSettings &settings) {
    QObject::connect(&settings, &FrmSettings::settingsApplied, &settings,
                     [](const SheetSettings &applied, bool withSheet) {
                         if (withSheet)
                             frmGuide().showSheetPart(applied);
                     });
}

FormInstance<FrmMain> mainInstance;
FormInstance<FrmGuide> guideInstance{connectGuide};
FormInstance<FrmFace> faceInstance;
FormInstance<FrmHelp> helpInstance;
FormInstance<FrmAbout> aboutInstance;
FormInstance<FrmRecord> recordInstance(connectRecord);
FormInstance<FrmSettings> settingsInstance(connectSettings);

void deleteRemainingForms() {
    settingsInstance.destroyNow();
    recordInstance.destroyNow();
    aboutInstance.destroyNow();
    faceInstance.destroyNow();
    guideInstance.destroyNow();
    mainInstance.destroyNow();
    helpInstance.destroyNow();
}

} // namespace

FrmMain &frmMain() {
    return mainInstance.get();
}
FrmGuide &frmGuide() {
    return guideInstance.get();
}
FrmFace &frmFace() {
    return faceInstance.get();
}
FrmHelp &frmHelp() {
    return helpInstance.get();
}
FrmAbout &frmAbout() {
    return aboutInstance.get();
}
FrmRecord &frmRecord() {
    return recordInstance.get();
}
FrmSettings &frmSettings() {
    return settingsInstance.get();
}

namespace {
// Calls fn with the instance of the window.
template <typename Fn> auto withInstance(FormId id, Fn fn) {
    switch (id) {
    case FormId::About:
        return fn(aboutInstance);
    case FormId::Face:
        return fn(faceInstance);
    case FormId::Guide:
        return fn(guideInstance);
    case FormId::Main:
        return fn(mainInstance);
    case FormId::Record:
        return fn(recordInstance);
    case FormId::Settings:
        return fn(settingsInstance);
    case FormId::Help:
        break;
    }
    return fn(helpInstance);
}
} // namespace

bool isFormLoaded(FormId id) {
    return withInstance(id, [](const auto &instance) { return instance.loaded(); });
}

void unloadForm(FormId id) {
    withInstance(id, [id](auto &instance) { instance.unload(id); });
}

void UnloadAllForms() {
    for (FormId id : {FormId::Settings, FormId::Record, FormId::About, FormId::Face, FormId::Guide,
                      FormId::Main, FormId::Help})
        unloadForm(id);
}

void setUnloadObserver(std::function<void(FormId)> observer) {
    unloadObserver() = std::move(observer);
}

} // namespace drillpad
