#include "definitionsmenu.h"

#include "unbirlst.h"
#include "unectan.h"
#include "unetur.h"
#include "ungentan.h"

namespace definitions {

namespace {

int show(FormRunner &runner, KelmaForm &&form)
{
    runner.run(form);
    return form.tag;
}

} // namespace

int showGenelTanimlar(Session &session, FormRunner &runner, QWidget *parent)
{
    return show(runner, TFRMGENTAN(session, parent));
}

int showBirimTanimlari(Session &session, FormRunner &runner, QWidget *parent)
{
    return show(runner, TFRMBIRLST(session, runner, parent));
}

int showKurumTanimlari(Session &session, FormRunner &runner, QWidget *parent)
{
    return show(runner, TFRMKURLST(session, runner, parent));
}

int showEvrakTuruTanimlari(Session &session, FormRunner &runner, QWidget *parent)
{
    return show(runner, TFRMETUR(session, parent));
}

int showEvrakCinsiTanimlari(Session &session, FormRunner &runner, QWidget *parent)
{
    return show(runner, TFRMECTANIM(session, runner, parent));
}

} // namespace definitions
