#include "clienttable.h"

// Each row says where its folders come from: the client's own source (repository
// and file) or the package that installs it. "Debian 12" rows were read from the
// packages' files and wrapper scripts.
namespace ClientTable {

namespace {

Place home(const char *path)
{
    return {Under::Home, QString::fromLatin1(path)};
}
Place configHome(const char *path)
{
    return {Under::ConfigHome, QString::fromLatin1(path)};
}
Place dataHome(const char *path)
{
    return {Under::DataHome, QString::fromLatin1(path)};
}
Place systemPlace(const char *path, bool shared = false)
{
    return {Under::System, QString::fromLatin1(path), shared};
}
Place steamPlace(const char *path, bool shared = false)
{
    return {Under::Steam, QString::fromLatin1(path), shared};
}
Place inHome(const char *file)
{
    return {Under::HomeGame, QString::fromLatin1(file)};
}

// Flatpak apps see their own ~/.var/app/<id>/ as the places below; a per-user
// Flatpak keeps its files below $XDG_DATA_HOME/flatpak, a system one below
// /var/lib/flatpak.
QList<Row> makeRows()
{
    const QList<Place> debianQuake3Data = {systemPlace("/usr/lib/ioquake3/baseq3", true),
                                           systemPlace("/usr/share/games/quake3/baseq3", true)};
    const QList<Place> debianQuakeData = {systemPlace("/usr/share/games/quake/id1", true)};
    return {
        // ioquake3 before its XDG change of 2025-10, and Debian 12's 1.36: the home
        // is ~/.q3a (ioq3 code/qcommon/q_shared.h HOMEPATH_NAME_UNIX). The config
        // is written every frame an archived cvar changed (code/qcommon/common.c).
        // Debian's fs_basepath is /usr/lib/ioquake3; packaged game data lives in
        // /usr/share/games/quake3 (the package's AppArmor profile reads both).
        // The newer engine still takes ~/.q3a while no XDG folder exists.
        {"ioquake3",
         "ioquake3",
         Game::QuakeIII,
         ConfigRewrite::WhileRunning,
         {home(".q3a")},
         "baseq3",
         {inHome("q3config.cfg")},
         debianQuake3Data,
         {systemPlace("/usr/lib/quake3/base/baseq3")},
         {systemPlace("/usr/lib/ioquake3/ioquake3")}},
        // ioquake3 since 2025-10: the config under $XDG_CONFIG_HOME/Quake3, pk3s
        // under $XDG_DATA_HOME/Quake3, searched in that order before fs_basepath
        // (code/sys/sys_unix.c Sys_HomeConfigPath, code/qcommon/files.c FS_InitPathVars).
        {"ioquake3-xdg",
         "ioquake3",
         Game::QuakeIII,
         ConfigRewrite::WhileRunning,
         {configHome("Quake3")},
         "baseq3",
         {inHome("q3config.cfg")},
         QList<Place>{dataHome("Quake3/baseq3")} + debianQuake3Data,
         {},
         {}},
        // Flathub org.ioquake3.ioquake3 builds a pre-2025 engine, which under
        // Flatpak keeps its home in $XDG_DATA_HOME/q3a (sys_unix.c of that commit,
        // and the app's launcher that moves older data there).
        {"ioquake3-flatpak",
         "ioquake3 (Flatpak)",
         Game::QuakeIII,
         ConfigRewrite::WhileRunning,
         {home(".var/app/org.ioquake3.ioquake3/data/q3a")},
         "baseq3",
         {inHome("q3config.cfg")},
         {},
         {},
         {}},
        // The same app once built from a 2025-10 engine: always XDG inside Flatpak.
        {"ioquake3-flatpak-xdg",
         "ioquake3 (Flatpak)",
         Game::QuakeIII,
         ConfigRewrite::WhileRunning,
         {home(".var/app/org.ioquake3.ioquake3/config/Quake3")},
         "baseq3",
         {inHome("q3config.cfg")},
         {home(".var/app/org.ioquake3.ioquake3/data/Quake3/baseq3")},
         {},
         {}},
        // Steam's Quake III Arena is id's Windows engine run through Proton; it has
        // no home of its own and keeps its config in its game folder (id's
        // Quake-III-Arena code/win32/win_shared.c, code/qcommon/files.c). The
        // folder name is the one ioq3's code/sys/sys_win32.c looks for.
        {"quake3-steam",
         "Quake III Arena (Steam)",
         Game::QuakeIII,
         ConfigRewrite::WhileRunning,
         {steamPlace("Quake 3 Arena")},
         "baseq3",
         {inHome("q3config.cfg")},
         {steamPlace("Quake 3 Arena/baseq3")},
         {},
         {}},
        // Debian's /usr/games/openarena runs ioquake3 with fs_basepath
        // /usr/lib/openarena and com_homepath .openarena; the pk3s in
        // /usr/lib/openarena/baseoa are links into /usr/share/games/openarena/baseoa.
        {"openarena",
         "OpenArena",
         Game::OpenArena,
         ConfigRewrite::WhileRunning,
         {home(".openarena")},
         "baseoa",
         {inHome("q3config.cfg")},
         {systemPlace("/usr/lib/openarena/baseoa")},
         {systemPlace("/usr/share/games/openarena/baseoa")},
         {}},
        // Flathub ws.openarena.OpenArena: --persist=.openarena, data in the app's
        // share/openarena (its manifest, DEFAULT_BASEDIR).
        {"openarena-flatpak",
         "OpenArena (Flatpak)",
         Game::OpenArena,
         ConfigRewrite::WhileRunning,
         {home(".var/app/ws.openarena.OpenArena/.openarena")},
         "baseoa",
         {inHome("q3config.cfg")},
         {systemPlace("/var/lib/flatpak/app/ws.openarena.OpenArena/current/active/files/share/"
                      "openarena/baseoa"),
          dataHome("flatpak/app/ws.openarena.OpenArena/current/active/files/share/openarena/"
                   "baseoa")},
         {},
         {}},
        // Debian's /usr/games/ezquake runs the engine with -basedir ~/.config/ezquake,
        // where it links id1 to /usr/share/games/quake/id1 and ezquake to the
        // read-only /usr/share/games/ezquake. At start ezQuake reads ~/.ezquake/config.cfg
        // first, then <basedir>/ezquake/configs/config.cfg (ezquake-source
        // src/config_manager.c LoadConfig_f); it writes only on cfg_save, and with
        // that link only cfg_use_home 1 can write, to ~/.ezquake. Search order,
        // highest first: ~/.ezquake, qw, ezquake, id1 (src/fs.c FS_InitFilesystemEx),
        // which is also where autoexec.cfg is looked up (src/host.c).
        {"ezquake",
         "ezQuake",
         Game::QuakeWorld,
         ConfigRewrite::Never,
         {home(".ezquake")},
         "",
         {inHome("config.cfg"), home(".config/ezquake/ezquake/configs/config.cfg")},
         QList<Place>{home(".config/ezquake/qw"), home(".config/ezquake/ezquake"),
                      home(".config/ezquake/id1")} +
             debianQuakeData,
         {},
         {systemPlace("/usr/lib/games/ezquake/ezquake")}},
        // Flathub io.github.ezQuake: --persist=.ezquake, and its launcher runs with
        // -basedir ~/.var/app/io.github.ezQuake/.ezquake, so home and base are one
        // folder; the launcher moves a home config.cfg to ezquake/configs/ at every
        // start, so that one is the config.
        {"ezquake-flatpak",
         "ezQuake (Flatpak)",
         Game::QuakeWorld,
         ConfigRewrite::Never,
         {home(".var/app/io.github.ezQuake/.ezquake")},
         "",
         {inHome("ezquake/configs/config.cfg")},
         {home(".var/app/io.github.ezQuake/.ezquake/qw"),
          home(".var/app/io.github.ezQuake/.ezquake/ezquake"),
          home(".var/app/io.github.ezQuake/.ezquake/id1")},
         {},
         {}},
        // Quakespasm with DO_USERDIRS, as Debian builds it: home ~/.quakespasm
        // (Quake/sys_sdl_unix.c SYS_USERDIR), config.cfg written at every quit
        // (Quake/host.c Host_WriteConfiguration). Debian installs quakespasm.pak
        // in /usr/share/games/quake, the base folder whose id1 the Quake data fills.
        {"quakespasm",
         "Quakespasm",
         Game::Quake,
         ConfigRewrite::AtQuit,
         {home(".quakespasm")},
         "id1",
         {inHome("config.cfg")},
         debianQuakeData,
         {},
         {systemPlace("/usr/games/quakespasm")}},
        // Flathub net.sourceforge.quakespasm.Quakespasm: built without user folders
        // and run with -basedir $XDG_DATA_HOME, so the config sits beside the data.
        {"quakespasm-flatpak",
         "Quakespasm (Flatpak)",
         Game::Quake,
         ConfigRewrite::AtQuit,
         {home(".var/app/net.sourceforge.quakespasm.Quakespasm/data")},
         "id1",
         {inHome("config.cfg")},
         {home(".var/app/net.sourceforge.quakespasm.Quakespasm/data/id1")},
         {},
         {}},
        // Ironwail: home ~/.ironwail, ironwail.cfg (Quake/quakedef.h), written at
        // quit; "exec config.cfg" runs it instead (Quake/cmd.c). On Linux its data
        // may be in that home too (Quake/common.c COM_InitBaseDir).
        {"ironwail",
         "Ironwail",
         Game::Quake,
         ConfigRewrite::AtQuit,
         {home(".ironwail")},
         "id1",
         {inHome("ironwail.cfg")},
         {home(".ironwail/id1")},
         {},
         {}},
        // Ironwail finds Steam's Quake (app 2310) by itself and then keeps a home
        // for each release: ~/.ironwail/.original or .rerelease (Quake/common.c,
        // Quake/sys_sdl_unix.c Sys_GetAltUserPrefDir).
        {"ironwail-steam",
         "Ironwail (Steam's Quake)",
         Game::Quake,
         ConfigRewrite::AtQuit,
         {home(".ironwail/.original")},
         "id1",
         {inHome("ironwail.cfg")},
         {steamPlace("Quake/id1", true)},
         {},
         {}},
        {"ironwail-steam-rerelease",
         "Ironwail (Steam's Quake, 2021 release)",
         Game::Quake,
         ConfigRewrite::AtQuit,
         {home(".ironwail/.rerelease")},
         "id1",
         {inHome("ironwail.cfg")},
         {steamPlace("Quake/rerelease/id1", true)},
         {},
         {}},
        // Steam's own Quake: its data is found, but where its own program keeps a
        // config is not known here.
        {"quake-steam",
         "Quake (Steam)",
         Game::Quake,
         ConfigRewrite::Never,
         {},
         "",
         {},
         {steamPlace("Quake/id1")},
         {},
         {}},
        {"quake-rerelease-steam",
         "Quake, 2021 release (Steam)",
         Game::Quake,
         ConfigRewrite::Never,
         {},
         "",
         {},
         {steamPlace("Quake/rerelease/id1")},
         {},
         {}},
        // DarkPlaces: home ~/.darkplaces (com_game.c, fs.c FS_ChooseUserDir),
        // config.cfg written at shutdown (quakedef.h CONFIGFILENAME).
        {"darkplaces",
         "DarkPlaces",
         Game::Quake,
         ConfigRewrite::AtQuit,
         {home(".darkplaces")},
         "id1",
         {inHome("config.cfg")},
         {},
         {},
         {systemPlace("/usr/games/darkplaces")}},
        // Yamagi Quake II: ~/.yq2 when it exists, else $XDG_DATA_HOME/YamagiQ2, as
        // both its builds enable USE_XDG (src/backends/unix/system.c Sys_GetHomeDir,
        // src/common/header/common.h). Its data sits beside the program, wherever
        // it was unpacked; players often put baseq2's paks in the home.
        {"yquake2",
         "Yamagi Quake II",
         Game::QuakeII,
         ConfigRewrite::AtQuit,
         {home(".yq2"), dataHome("YamagiQ2")},
         "baseq2",
         {inHome("config.cfg")},
         {},
         {},
         {}},
        // Flathub org.yamagi.YamagiQ2: --persist=.yq2; its launcher asks for the
        // game data in that same baseq2.
        {"yquake2-flatpak",
         "Yamagi Quake II (Flatpak)",
         Game::QuakeII,
         ConfigRewrite::AtQuit,
         {home(".var/app/org.yamagi.YamagiQ2/.yq2")},
         "baseq2",
         {inHome("config.cfg")},
         {},
         {},
         {}},
        // Q2PRO: homedir ~/.q2pro (meson_options.txt), config.cfg on Unix
        // (inc/common/common.h), written at shutdown; BUILDING.md puts the data in
        // /usr/local/share/q2pro/baseq2.
        {"q2pro",
         "Q2PRO",
         Game::QuakeII,
         ConfigRewrite::AtQuit,
         {home(".q2pro")},
         "baseq2",
         {inHome("config.cfg")},
         {systemPlace("/usr/local/share/q2pro/baseq2")},
         {},
         {}},
    };
}

} // namespace

const QList<Row> &rows()
{
    static const QList<Row> table = makeRows();
    return table;
}

} // namespace ClientTable
