#include "engine/pass_observer.h"

namespace lumidor {

namespace {

TPassObserver installed;
bool active = false;

} // namespace

void SetPassObserver(const TPassObserver* observer) {
    active = observer != nullptr;
    installed = observer ? *observer : TPassObserver{};
}

void NotifyBeforePass(TParticleEffectContainer& container, float dt) {
    if (active && installed.BeforePass) installed.BeforePass(container, dt, installed.Context);
}

void NotifyAfterPass(TParticleEffectContainer& container, float dt) {
    if (active && installed.AfterPass) installed.AfterPass(container, dt, installed.Context);
}

} // namespace lumidor
