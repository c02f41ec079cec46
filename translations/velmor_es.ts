<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es">
<context>
    <name>AboutView</name>
    <message>
        <source>v0.1 alpha</source>
        <translation>v0.1 alfa</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Try &apos;velmor --help&apos; for the options.</source>
        <translation>Consulta &apos;velmor --help&apos; para ver las opciones.</translation>
    </message>
    <message>
        <source>A quiet pause now and then, with one line to sit with.
Without options, starts Velmor or brings its window forward. Qt&apos;s own options,
such as -platform xcb, are accepted too; see velmor(1).</source>
        <translation>De vez en cuando, una pausa tranquila con una línea para quedarse en ella.
Sin opciones, inicia Velmor o trae su ventana al frente. También se aceptan
las opciones de Qt, como -platform xcb; consulta velmor(1).</translation>
    </message>
    <message>
        <source>Show this help and exit.</source>
        <translation>Mostrar esta ayuda y salir.</translation>
    </message>
    <message>
        <source>Show the version and exit.</source>
        <translation>Mostrar la versión y salir.</translation>
    </message>
    <message>
        <source>Show a pause now.</source>
        <translation>Mostrar una pausa ahora.</translation>
    </message>
    <message>
        <source>Pause the session.</source>
        <translation>Pausar la sesión.</translation>
    </message>
    <message>
        <source>Resume the session.</source>
        <translation>Reanudar la sesión.</translation>
    </message>
    <message>
        <source>Quit the running Velmor.</source>
        <translation>Salir del Velmor en marcha.</translation>
    </message>
    <message>
        <source>Start without opening the window, as at login; does nothing if Velmor runs.</source>
        <translation>Iniciar sin abrir la ventana, como al iniciar sesión; no hace nada si Velmor ya está en marcha.</translation>
    </message>
    <message>
        <source>Unexpected argument: %1</source>
        <translation>Argumento inesperado: %1</translation>
    </message>
    <message>
        <source>Give one of --now, --pause, --resume, --quit and --background.</source>
        <translation>Indica solo una de --now, --pause, --resume, --quit y --background.</translation>
    </message>
</context>
<context>
    <name>Files</name>
    <message>
        <source>Removed an unfinished write: %1</source>
        <translation>Se eliminó una escritura sin terminar: %1</translation>
    </message>
    <message>
        <source>cannot create folder %1</source>
        <translation>no se puede crear la carpeta %1</translation>
    </message>
    <message>
        <source>too many levels of symbolic links</source>
        <translation>demasiados niveles de enlaces simbólicos</translation>
    </message>
    <message>
        <source>%1 is not a regular file</source>
        <translation>%1 no es un archivo normal</translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation>no es un archivo normal</translation>
    </message>
    <message>
        <source>the file is gone</source>
        <translation>el archivo ya no está</translation>
    </message>
    <message>
        <source>larger than %1 bytes</source>
        <translation>más de %1 bytes</translation>
    </message>
    <message>
        <source>%1 could not be read (%2); it is kept aside before it is next saved</source>
        <translation>No se pudo leer %1 (%2); el archivo se apartará antes de volver a guardar</translation>
    </message>
    <message>
        <source>%1 not saved: the unreadable file could not be kept aside (%2)</source>
        <translation>No se guardó %1: el archivo ilegible no se pudo apartar (%2)</translation>
    </message>
    <message>
        <source>%1: the unreadable file was kept aside as %2</source>
        <translation>%1: el archivo ilegible se apartó como %2</translation>
    </message>
    <message>
        <source>%1 could not be saved: %2</source>
        <translation>No se pudo guardar %1: %2</translation>
    </message>
</context>
<context>
    <name>GeneralSettingsView</name>
    <message>
        <source>Open settings</source>
        <translation>Abrir los ajustes</translation>
    </message>
    <message>
        <source>Ctrl+,</source>
        <translation>Ctrl+,</translation>
    </message>
</context>
<context>
    <name>HomeView</name>
    <message>
        <source>Good morning</source>
        <translation>Buenos días</translation>
    </message>
    <message>
        <source>Good afternoon</source>
        <translation>Buenas tardes</translation>
    </message>
    <message>
        <source>Good evening</source>
        <translation>Buenas noches</translation>
    </message>
    <message>
        <source>now</source>
        <translation>ahora</translation>
    </message>
    <message>
        <source>yesterday</source>
        <translation>ayer</translation>
    </message>
    <message>
        <source>last week</source>
        <translation>la semana pasada</translation>
    </message>
    <message>
        <source>last month</source>
        <translation>el mes pasado</translation>
    </message>
    <message>
        <source>last year</source>
        <translation>el año pasado</translation>
    </message>
    <message>
        <source>1 second ago</source>
        <translation>hace 1 segundo</translation>
    </message>
    <message numerus="yes">
        <source>%n seconds ago</source>
        <translation>
            <numerusform>hace %n segundo</numerusform>
            <numerusform>hace %n segundos</numerusform>
        </translation>
    </message>
    <message>
        <source>1 minute ago</source>
        <translation>hace 1 minuto</translation>
    </message>
    <message numerus="yes">
        <source>%n minutes ago</source>
        <translation>
            <numerusform>hace %n minuto</numerusform>
            <numerusform>hace %n minutos</numerusform>
        </translation>
    </message>
    <message>
        <source>1 hour ago</source>
        <translation>hace 1 hora</translation>
    </message>
    <message numerus="yes">
        <source>%n hours ago</source>
        <translation>
            <numerusform>hace %n hora</numerusform>
            <numerusform>hace %n horas</numerusform>
        </translation>
    </message>
    <message>
        <source>1 day ago</source>
        <translation>hace 1 día</translation>
    </message>
    <message numerus="yes">
        <source>%n days ago</source>
        <translation>
            <numerusform>hace %n día</numerusform>
            <numerusform>hace %n días</numerusform>
        </translation>
    </message>
    <message>
        <source>1 week ago</source>
        <translation>hace 1 semana</translation>
    </message>
    <message numerus="yes">
        <source>%n weeks ago</source>
        <translation>
            <numerusform>hace %n semana</numerusform>
            <numerusform>hace %n semanas</numerusform>
        </translation>
    </message>
    <message>
        <source>1 month ago</source>
        <translation>hace 1 mes</translation>
    </message>
    <message numerus="yes">
        <source>%n months ago</source>
        <translation>
            <numerusform>hace %n mes</numerusform>
            <numerusform>hace %n meses</numerusform>
        </translation>
    </message>
    <message>
        <source>1 year ago</source>
        <translation>hace 1 año</translation>
    </message>
    <message numerus="yes">
        <source>%n years ago</source>
        <translation>
            <numerusform>hace %n año</numerusform>
            <numerusform>hace %n años</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>LibraryFile</name>
    <message>
        <source>no such file</source>
        <translation>el archivo no existe</translation>
    </message>
    <message numerus="yes">
        <source>Import skipped %n prompt(s) with an empty id, an empty text or an id used earlier in the file</source>
        <translation>
            <numerusform>La importación omitió %n invitación sin identificador, sin texto o con un identificador ya usado antes en el archivo</numerusform>
            <numerusform>La importación omitió %n invitaciones sin identificador, sin texto o con un identificador ya usado antes en el archivo</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>LibraryShelf</name>
    <message>
        <source>Yours</source>
        <translation>Tuyas</translation>
    </message>
    <message>
        <source>1 prompt across %1 categories + yours</source>
        <translation>1 invitación en %1 categorías + las tuyas</translation>
    </message>
    <message>
        <source>1 prompt across %1 categories</source>
        <translation>1 invitación en %1 categorías</translation>
    </message>
    <message numerus="yes">
        <source>%n prompts across %1 categories + yours</source>
        <translation>
            <numerusform>%n invitación en %1 categorías + las tuyas</numerusform>
            <numerusform>%n invitaciones en %1 categorías + las tuyas</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n prompts across %1 categories</source>
        <translation>
            <numerusform>%n invitación en %1 categorías</numerusform>
            <numerusform>%n invitaciones en %1 categorías</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>MenuModel</name>
    <message>
        <source>Velmor — Paused</source>
        <translation>Velmor — En pausa</translation>
    </message>
    <message>
        <source>Resume Velmor</source>
        <translation>Reanudar Velmor</translation>
    </message>
    <message>
        <source>Velmor — Active</source>
        <translation>Velmor — Activo</translation>
    </message>
    <message>
        <source>Pause Velmor</source>
        <translation>Pausar Velmor</translation>
    </message>
</context>
<context>
    <name>PromptRow</name>
    <message>
        <source>Edit</source>
        <translation>Editar</translation>
    </message>
    <message>
        <source>Edit this prompt</source>
        <translation>Editar esta invitación</translation>
    </message>
    <message>
        <source>Sit with this</source>
        <translation>Quedarme con esta</translation>
    </message>
    <message>
        <source>Sit with this prompt for every overlay</source>
        <translation>Quedarse con esta invitación en cada pausa</translation>
    </message>
    <message>
        <source>Let go</source>
        <translation>Soltar</translation>
    </message>
    <message>
        <source>Stop sitting with this prompt</source>
        <translation>Dejar de quedarse con esta invitación</translation>
    </message>
    <message>
        <source>Favorite</source>
        <translation>Favorita</translation>
    </message>
    <message>
        <source>Add to favorites</source>
        <translation>Añadir a favoritas</translation>
    </message>
    <message>
        <source>Unfavorite</source>
        <translation>No favorita</translation>
    </message>
    <message>
        <source>Remove from favorites</source>
        <translation>Quitar de favoritas</translation>
    </message>
    <message>
        <source>Set aside</source>
        <translation>Apartar</translation>
    </message>
    <message>
        <source>Set this prompt aside</source>
        <translation>Apartar esta invitación</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Eliminar</translation>
    </message>
    <message>
        <source>Delete this prompt</source>
        <translation>Eliminar esta invitación</translation>
    </message>
</context>
<context>
    <name>Recorder</name>
    <message>
        <source>This desktop does not let programs set global shortcuts. Bind velmor --now to a key in your desktop&apos;s keyboard settings instead.</source>
        <translation>Este escritorio no permite que los programas definan atajos globales. Asigna en su lugar velmor --now a una tecla en la configuración del teclado de tu escritorio.</translation>
    </message>
    <message>
        <source>Record Shortcut</source>
        <translation>Grabar atajo</translation>
    </message>
    <message>
        <source>Press Shortcut</source>
        <translation>Pulsa el atajo</translation>
    </message>
    <message>
        <source>This keyboard shortcut cannot be used as it&apos;s already used by the “%1” menu item.</source>
        <translation>Este atajo de teclado no se puede usar porque ya lo usa el elemento de menú «%1».</translation>
    </message>
    <message>
        <source>This keyboard shortcut cannot be used as it&apos;s already used by a system-wide keyboard shortcut.</source>
        <translation>Este atajo de teclado no se puede usar porque ya es un atajo de todo el sistema.</translation>
    </message>
    <message>
        <source>Most system-wide keyboard shortcuts can be changed in your desktop&apos;s keyboard settings.</source>
        <translation>La mayoría de los atajos de todo el sistema se pueden cambiar en la configuración del teclado de tu escritorio.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>Use Anyway</source>
        <translation>Usar de todos modos</translation>
    </message>
</context>
<context>
    <name>SetAsideSection</name>
    <message>
        <source>Restore</source>
        <translation>Recuperar</translation>
    </message>
    <message>
        <source>Restore </source>
        <translation>Recuperar </translation>
    </message>
    <message numerus="yes">
        <source>%n set aside</source>
        <translation>
            <numerusform>%n apartada</numerusform>
            <numerusform>%n apartadas</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>SettingsStore</name>
    <message>
        <source>Settings</source>
        <translation>Ajustes</translation>
    </message>
    <message>
        <source>not a JSON object</source>
        <translation>no es un objeto JSON</translation>
    </message>
</context>
<context>
    <name>ShortcutDescription</name>
    <message>
        <source>Key %1</source>
        <translation>Tecla %1</translation>
    </message>
</context>
<context>
    <name>Sidebar</name>
    <message>
        <source>Home</source>
        <translation>Inicio</translation>
    </message>
    <message>
        <source>Timer</source>
        <translation>Temporizador</translation>
    </message>
    <message>
        <source>Theme</source>
        <translation>Tema</translation>
    </message>
    <message>
        <source>Content</source>
        <translation>Contenido</translation>
    </message>
    <message>
        <source>Sound</source>
        <translation>Sonido</translation>
    </message>
    <message>
        <source>General</source>
        <translation>General</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Acerca de</translation>
    </message>
    <message>
        <source>Paused</source>
        <translation>En pausa</translation>
    </message>
    <message>
        <source>Active</source>
        <translation>Activo</translation>
    </message>
    <message>
        <source>Velmor is paused. Tap to start.</source>
        <translation>Velmor está en pausa. Haz clic para empezar.</translation>
    </message>
    <message>
        <source>Velmor is active. Tap to pause.</source>
        <translation>Velmor está activo. Haz clic para pausar.</translation>
    </message>
</context>
<context>
    <name>SoundSettingsView</name>
    <message>
        <source>Tap to select this sound</source>
        <translation>Haz clic para elegir este sonido</translation>
    </message>
</context>
<context>
    <name>ThemeSettingsView</name>
    <message>
        <source>%1 theme, %2</source>
        <translation>Tema %1, %2</translation>
    </message>
    <message>
        <source>Tap to select this theme</source>
        <translation>Haz clic para elegir este tema</translation>
    </message>
</context>
<context>
    <name>TimerSettingsView</name>
    <message>
        <source>hours</source>
        <translation>horas</translation>
    </message>
    <message>
        <source>minutes</source>
        <translation>minutos</translation>
    </message>
</context>
<context>
    <name>velmor::AboutScreen</name>
    <message>
        <source>A caring friend who shows up, sits with you,
and invites you to simply be.</source>
        <translation>Un amigo atento que aparece, se sienta contigo
y te invita simplemente a ser.</translation>
    </message>
    <message>
        <source>Every so often, your screen goes dark.
A single line of text fades in.
Then you return.</source>
        <translation>De vez en cuando, tu pantalla se oscurece.
Aparece una sola línea de texto.
Luego vuelves.</translation>
    </message>
    <message>
        <source>This is an early version. Your experience matters.</source>
        <translation>Esta es una versión temprana. Tu experiencia importa.</translation>
    </message>
    <message>
        <source>Share your thoughts</source>
        <translation>Comparte tu opinión</translation>
    </message>
    <message>
        <source>Made with presence.</source>
        <translation>Hecho con presencia.</translation>
    </message>
</context>
<context>
    <name>velmor::CategoryDetailView</name>
    <message>
        <source>Nothing here yet.</source>
        <translation>Aún no hay nada aquí.</translation>
    </message>
</context>
<context>
    <name>velmor::ContentLibraryScreen</name>
    <message>
        <source>Your library</source>
        <translation>Tu biblioteca</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Exportar</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>Importar</translation>
    </message>
    <message>
        <source>Velmor library (*.velmor *.json)</source>
        <translation>Biblioteca de Velmor (*.velmor *.json)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Todos los archivos (*)</translation>
    </message>
    <message>
        <source>Save your Velmor library</source>
        <translation>Guardar tu biblioteca de Velmor</translation>
    </message>
    <message>
        <source>Choose a Velmor library file</source>
        <translation>Elegir un archivo de biblioteca de Velmor</translation>
    </message>
</context>
<context>
    <name>velmor::GeneralScreen</name>
    <message>
        <source>Trigger velmoring</source>
        <translation>Iniciar un momento Velmor</translation>
    </message>
    <message>
        <source>Appearance</source>
        <translation>Apariencia</translation>
    </message>
    <message>
        <source>Velmor darkens</source>
        <translation>Velmor oscurece</translation>
    </message>
    <message>
        <source>Startup</source>
        <translation>Arranque</translation>
    </message>
    <message>
        <source>Launch Velmor at login</source>
        <translation>Iniciar Velmor al iniciar sesión</translation>
    </message>
    <message>
        <source>Calls</source>
        <translation>Llamadas</translation>
    </message>
    <message>
        <source>Pause during calls and recordings</source>
        <translation>Pausar durante llamadas y grabaciones</translation>
    </message>
    <message>
        <source>Velmor will wait to arrive when your microphone is in use or you have a meeting on your calendar.</source>
        <translation>Velmor espera para llegar mientras tu micrófono está en uso o tienes una reunión en tu calendario.</translation>
    </message>
    <message>
        <source>Keyboard shortcuts</source>
        <translation>Atajos de teclado</translation>
    </message>
    <message>
        <source>You can also trigger velmoring from the menu bar — click the leaf and select &quot;Velmor now.&quot;</source>
        <translation>También puedes iniciar un momento Velmor desde la barra de menús — haz clic en la hoja y elige «Velmor ahora».</translation>
    </message>
</context>
<context>
    <name>velmor::HomeScreen</name>
    <message>
        <source>Velmor is with you</source>
        <translation>Velmor está contigo</translation>
    </message>
    <message>
        <source>Sitting with this</source>
        <translation>Te quedas con esta</translation>
    </message>
    <message>
        <source>Let go</source>
        <translation>Soltar</translation>
    </message>
    <message>
        <source>Every so often, your screen will go dark.</source>
        <translation>De vez en cuando, tu pantalla se oscurecerá.</translation>
    </message>
    <message>
        <source>A single line of text will fade in. Sit with it for a moment — then return whenever you&apos;re ready.</source>
        <translation>Aparecerá una sola línea de texto. Quédate con ella un momento — y vuelve cuando quieras.</translation>
    </message>
    <message>
        <source>Your first moment of velmor is on its way.</source>
        <translation>Tu primer momento Velmor está en camino.</translation>
    </message>
    <message>
        <source>— %1</source>
        <translation>— %1</translation>
    </message>
</context>
<context>
    <name>velmor::InlineEditor</name>
    <message>
        <source>Prompt text</source>
        <translation>Texto de la invitación</translation>
    </message>
    <message>
        <source>Attribution (optional)</source>
        <translation>Atribución (opcional)</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Guardar</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
</context>
<context>
    <name>velmor::IntervalInput</name>
    <message>
        <source>unit</source>
        <translation>unidad</translation>
    </message>
</context>
<context>
    <name>velmor::MainWindow</name>
    <message>
        <source>Open settings</source>
        <translation>Abrir los ajustes</translation>
    </message>
</context>
<context>
    <name>velmor::PromptListScreen</name>
    <message>
        <source>Back to your library</source>
        <translation>Volver a tu biblioteca</translation>
    </message>
</context>
<context>
    <name>velmor::PromptRow</name>
    <message>
        <source>Favorite</source>
        <translation>Favorita</translation>
    </message>
</context>
<context>
    <name>velmor::ShelfRowButton</name>
    <message numerus="yes">
        <source>%1, %n prompts</source>
        <translation>
            <numerusform>%1, %n invitación</numerusform>
            <numerusform>%1, %n invitaciones</numerusform>
        </translation>
    </message>
    <message>
        <source>+ Add</source>
        <translation>+ Añadir</translation>
    </message>
    <message>
        <source>%1, 1 prompt</source>
        <translation>%1, 1 invitación</translation>
    </message>
    <message>
        <source>%1, 1 favorite</source>
        <translation>%1, 1 favorita</translation>
    </message>
    <message numerus="yes">
        <source>%1, %n favorites</source>
        <translation>
            <numerusform>%1, %n favorita</numerusform>
            <numerusform>%1, %n favoritas</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>velmor::SoundScreen</name>
    <message>
        <source>Arrival sound</source>
        <translation>Sonido de llegada</translation>
    </message>
    <message>
        <source>Play %1</source>
        <translation>Reproducir %1</translation>
    </message>
    <message>
        <source>Departure sound</source>
        <translation>Sonido de despedida</translation>
    </message>
    <message>
        <source>Play a softer sound when the overlay fades away</source>
        <translation>Reproducir un sonido más suave cuando la pausa se desvanece</translation>
    </message>
    <message>
        <source>Volume</source>
        <translation>Volumen</translation>
    </message>
</context>
<context>
    <name>velmor::SyncSettingsBlock</name>
    <message>
        <source>Sync</source>
        <translation>Sincronización</translation>
    </message>
    <message>
        <source>Choose folder...</source>
        <translation>Elegir carpeta…</translation>
    </message>
    <message>
        <source>Stop syncing</source>
        <translation>Dejar de sincronizar</translation>
    </message>
    <message>
        <source>Shares the theme, sound, fixed interval, your prompts, favourites and set-aside prompts with your other computers through a folder that a sync program such as Syncthing or Nextcloud keeps equal.</source>
        <translation>Comparte el tema, el sonido, el intervalo fijo, tus invitaciones, tus favoritas y las invitaciones apartadas con tus otros ordenadores, mediante una carpeta que un programa de sincronización como Syncthing o Nextcloud mantiene igual.</translation>
    </message>
    <message>
        <source>Choose a sync folder</source>
        <translation>Elegir una carpeta de sincronización</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Desactivada</translation>
    </message>
</context>
<context>
    <name>velmor::ThemeScreen</name>
    <message>
        <source>Overlay Theme</source>
        <translation>Tema de la pausa</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Vista previa</translation>
    </message>
    <message>
        <source>Preview %1</source>
        <translation>Vista previa de %1</translation>
    </message>
</context>
<context>
    <name>velmor::ThemeTile</name>
    <message>
        <source>Be here.</source>
        <translation>Estate aquí.</translation>
    </message>
</context>
<context>
    <name>velmor::TimerScreen</name>
    <message>
        <source>Interval mode</source>
        <translation>Modo de intervalo</translation>
    </message>
    <message>
        <source>Arrive every</source>
        <translation>Llegar cada</translation>
    </message>
    <message>
        <source>Arrive between</source>
        <translation>Llegar entre</translation>
    </message>
    <message>
        <source>Shortest interval</source>
        <translation>Intervalo más corto</translation>
    </message>
    <message>
        <source>Longest interval</source>
        <translation>Intervalo más largo</translation>
    </message>
    <message>
        <source>and</source>
        <translation>y</translation>
    </message>
    <message>
        <source>Velmor will arrive at this interval while active. Press any key or click to return when it appears.</source>
        <translation>Mientras está activo, Velmor llega con este intervalo. Cuando aparezca, pulsa cualquier tecla o haz clic para volver.</translation>
    </message>
</context>
<context>
    <name>velmor::TrayMenu</name>
    <message>
        <source>Velmor now</source>
        <translation>Velmor ahora</translation>
    </message>
    <message>
        <source>Open Velmor</source>
        <translation>Abrir Velmor</translation>
    </message>
    <message>
        <source>Quit Velmor</source>
        <translation>Salir de Velmor</translation>
    </message>
</context>
<context>
    <name>velmor::UserLibrary</name>
    <message>
        <source>User library</source>
        <translation>Biblioteca personal</translation>
    </message>
</context>
<context>
    <name>velmor::YourPromptsView</name>
    <message>
        <source>Yours</source>
        <translation>Tuyas</translation>
    </message>
    <message>
        <source>Your prompts will appear here.</source>
        <translation>Tus invitaciones aparecerán aquí.</translation>
    </message>
    <message>
        <source>Add something you love...</source>
        <translation>Añade algo que te guste…</translation>
    </message>
    <message>
        <source>Attribution (optional)</source>
        <translation>Atribución (opcional)</translation>
    </message>
</context>
</TS>
