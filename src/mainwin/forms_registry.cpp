#include "mainwin/forms_registry.h"

#include "about/frm_about.h"
#include "about/frm_help.h"
#include "guide/frm_guide.h"
#include "mainwin/frm_main.h"
#include "quiz/frm_face.h"

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
    Form &get() {
        if (!form_) {
            registerCleanup();
            form_ = new Form();
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
        if constexpr (requires(Form &f) { f.formUnload(); })
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
};

FormInstance<FrmMain> mainInstance;
FormInstance<FrmGuide> guideInstance;
FormInstance<FrmFace> faceInstance;
FormInstance<FrmHelp> helpInstance;
FormInstance<FrmAbout> aboutInstance;

void deleteRemainingForms() {
    aboutInstance.destroyNow();
    faceInstance.destroyNow();
    guideInstance.destroyNow();
    mainInstance.destroyNow();
    helpInstance.destroyNow();
}

} // namespace

FrmMain &frmMain() { return mainInstance.get(); }
FrmGuide &frmGuide() { return guideInstance.get(); }
FrmFace &frmFace() { return faceInstance.get(); }
FrmHelp &frmHelp() { return helpInstance.get(); }
FrmAbout &frmAbout() { return aboutInstance.get(); }

bool isFormLoaded(FormId id) {
    switch (id) {
    case FormId::About:
        return aboutInstance.loaded();
    case FormId::Face:
        return faceInstance.loaded();
    case FormId::Guide:
        return guideInstance.loaded();
    case FormId::Main:
        return mainInstance.loaded();
    case FormId::Help:
        return helpInstance.loaded();
    }
    return false;
}

void unloadForm(FormId id) {
    switch (id) {
    case FormId::About:
        aboutInstance.unload(id);
        break;
    case FormId::Face:
        faceInstance.unload(id);
        break;
    case FormId::Guide:
        guideInstance.unload(id);
        break;
    case FormId::Main:
        mainInstance.unload(id);
        break;
    case FormId::Help:
        helpInstance.unload(id);
        break;
    }
}

void UnloadAllForms() {
    for (FormId id : {FormId::About, FormId::Face, FormId::Guide, FormId::Main, FormId::Help})
        unloadForm(id);
}

void setUnloadObserver(std::function<void(FormId)> observer) {
    unloadObserver() = std::move(observer);
}

} // namespace drillpad
