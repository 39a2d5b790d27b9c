#include "skin/form/object_timers_win.h"

namespace fn {

TWindowTimer& TmnObjectTimers::Timer(TmnObjectTimer t) {
    switch (t) {
        case TmnObjectTimer::Mouse: return mouse_;
        case TmnObjectTimer::Morph: return morph_;
        default: return animate_;
    }
}

UINT_PTR TmnObjectTimers::Id(TmnObjectTimer t) {
    switch (t) {
        case TmnObjectTimer::Mouse: return MouseTimerId;
        case TmnObjectTimer::Morph: return MorphTimerId;
        default: return AnimateTimerId;
    }
}

void TmnObjectTimers::Start(TmnObjectTimer t) {
    if (!Timer(t).Active()) Timer(t).Start(window_, Id(t), Interval(t));
}

void TmnObjectTimers::StopAll() {
    mouse_.Stop();
    morph_.Stop();
    animate_.Stop();
}

std::optional<TmnObjectTimer> TmnObjectTimers::FromId(UINT_PTR id) {
    switch (id) {
        case MouseTimerId: return TmnObjectTimer::Mouse;
        case MorphTimerId: return TmnObjectTimer::Morph;
        case AnimateTimerId: return TmnObjectTimer::Animate;
        default: return std::nullopt;
    }
}

}  // namespace fn
