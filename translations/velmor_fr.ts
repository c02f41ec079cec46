<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>AboutView</name>
    <message>
        <source>v0.1 alpha</source>
        <translation>v0.1 alpha</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Try &apos;velmor --help&apos; for the options.</source>
        <translation>Voir &apos;velmor --help&apos; pour les options.</translation>
    </message>
    <message>
        <source>A quiet pause now and then, with one line to sit with.
Without options, starts Velmor or brings its window forward. Qt&apos;s own options,
such as -platform xcb, are accepted too; see velmor(1).</source>
        <translation>De temps en temps, une pause tranquille avec une ligne où s’attarder.
Sans option, démarre Velmor ou ramène sa fenêtre au premier plan. Les options
de Qt, comme -platform xcb, sont aussi acceptées ; voir velmor(1).</translation>
    </message>
    <message>
        <source>Show this help and exit.</source>
        <translation>Afficher cette aide et quitter.</translation>
    </message>
    <message>
        <source>Show the version and exit.</source>
        <translation>Afficher la version et quitter.</translation>
    </message>
    <message>
        <source>Show a pause now.</source>
        <translation>Afficher une pause maintenant.</translation>
    </message>
    <message>
        <source>Pause the session.</source>
        <translation>Mettre la session en pause.</translation>
    </message>
    <message>
        <source>Resume the session.</source>
        <translation>Reprendre la session.</translation>
    </message>
    <message>
        <source>Quit the running Velmor.</source>
        <translation>Quitter le Velmor en cours.</translation>
    </message>
    <message>
        <source>Start without opening the window, as at login; does nothing if Velmor runs.</source>
        <translation>Démarrer sans ouvrir la fenêtre, comme à l’ouverture de session ; sans effet si Velmor tourne déjà.</translation>
    </message>
    <message>
        <source>Unexpected argument: %1</source>
        <translation>Argument inattendu : %1</translation>
    </message>
    <message>
        <source>Give one of --now, --pause, --resume, --quit and --background.</source>
        <translation>Indiquez une seule option parmi --now, --pause, --resume, --quit et --background.</translation>
    </message>
</context>
<context>
    <name>Files</name>
    <message>
        <source>Removed an unfinished write: %1</source>
        <translation>Écriture inachevée supprimée : %1</translation>
    </message>
    <message>
        <source>cannot create folder %1</source>
        <translation>impossible de créer le dossier %1</translation>
    </message>
    <message>
        <source>too many levels of symbolic links</source>
        <translation>trop de niveaux de liens symboliques</translation>
    </message>
    <message>
        <source>%1 is not a regular file</source>
        <translation>%1 n’est pas un fichier ordinaire</translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation>pas un fichier ordinaire</translation>
    </message>
    <message>
        <source>the file is gone</source>
        <translation>le fichier a disparu</translation>
    </message>
    <message>
        <source>larger than %1 bytes</source>
        <translation>plus de %1 octets</translation>
    </message>
    <message>
        <source>%1 could not be read (%2); it is kept aside before it is next saved</source>
        <translation>Impossible de lire %1 (%2) ; le fichier sera mis de côté avant le prochain enregistrement</translation>
    </message>
    <message>
        <source>%1 not saved: the unreadable file could not be kept aside (%2)</source>
        <translation>Enregistrement de %1 annulé : le fichier illisible n’a pas pu être mis de côté (%2)</translation>
    </message>
    <message>
        <source>%1: the unreadable file was kept aside as %2</source>
        <translation>%1 : le fichier illisible a été mis de côté sous le nom %2</translation>
    </message>
    <message>
        <source>%1 could not be saved: %2</source>
        <translation>Impossible d’enregistrer %1 : %2</translation>
    </message>
</context>
<context>
    <name>GeneralSettingsView</name>
    <message>
        <source>Open settings</source>
        <translation>Ouvrir les réglages</translation>
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
        <translation>Bonjour</translation>
    </message>
    <message>
        <source>Good afternoon</source>
        <translation>Bon après-midi</translation>
    </message>
    <message>
        <source>Good evening</source>
        <translation>Bonsoir</translation>
    </message>
    <message>
        <source>now</source>
        <translation>maintenant</translation>
    </message>
    <message>
        <source>yesterday</source>
        <translation>hier</translation>
    </message>
    <message>
        <source>last week</source>
        <translation>la semaine dernière</translation>
    </message>
    <message>
        <source>last month</source>
        <translation>le mois dernier</translation>
    </message>
    <message>
        <source>last year</source>
        <translation>l’année dernière</translation>
    </message>
    <message>
        <source>1 second ago</source>
        <translation>il y a 1 seconde</translation>
    </message>
    <message numerus="yes">
        <source>%n seconds ago</source>
        <translation>
            <numerusform>il y a %n seconde</numerusform>
            <numerusform>il y a %n secondes</numerusform>
        </translation>
    </message>
    <message>
        <source>1 minute ago</source>
        <translation>il y a 1 minute</translation>
    </message>
    <message numerus="yes">
        <source>%n minutes ago</source>
        <translation>
            <numerusform>il y a %n minute</numerusform>
            <numerusform>il y a %n minutes</numerusform>
        </translation>
    </message>
    <message>
        <source>1 hour ago</source>
        <translation>il y a 1 heure</translation>
    </message>
    <message numerus="yes">
        <source>%n hours ago</source>
        <translation>
            <numerusform>il y a %n heure</numerusform>
            <numerusform>il y a %n heures</numerusform>
        </translation>
    </message>
    <message>
        <source>1 day ago</source>
        <translation>il y a 1 jour</translation>
    </message>
    <message numerus="yes">
        <source>%n days ago</source>
        <translation>
            <numerusform>il y a %n jour</numerusform>
            <numerusform>il y a %n jours</numerusform>
        </translation>
    </message>
    <message>
        <source>1 week ago</source>
        <translation>il y a 1 semaine</translation>
    </message>
    <message numerus="yes">
        <source>%n weeks ago</source>
        <translation>
            <numerusform>il y a %n semaine</numerusform>
            <numerusform>il y a %n semaines</numerusform>
        </translation>
    </message>
    <message>
        <source>1 month ago</source>
        <translation>il y a 1 mois</translation>
    </message>
    <message numerus="yes">
        <source>%n months ago</source>
        <translation>
            <numerusform>il y a %n mois</numerusform>
            <numerusform>il y a %n mois</numerusform>
        </translation>
    </message>
    <message>
        <source>1 year ago</source>
        <translation>il y a 1 an</translation>
    </message>
    <message numerus="yes">
        <source>%n years ago</source>
        <translation>
            <numerusform>il y a %n an</numerusform>
            <numerusform>il y a %n ans</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>LibraryFile</name>
    <message>
        <source>no such file</source>
        <translation>fichier introuvable</translation>
    </message>
    <message numerus="yes">
        <source>Import skipped %n prompt(s) with an empty id, an empty text or an id used earlier in the file</source>
        <translation>
            <numerusform>L’import a ignoré %n invitation sans identifiant, sans texte ou dont l’identifiant figurait déjà plus haut dans le fichier</numerusform>
            <numerusform>L’import a ignoré %n invitations sans identifiant, sans texte ou dont l’identifiant figurait déjà plus haut dans le fichier</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>LibraryShelf</name>
    <message>
        <source>Yours</source>
        <translation>Les vôtres</translation>
    </message>
    <message>
        <source>1 prompt across %1 categories + yours</source>
        <translation>1 invitation dans %1 catégories + les vôtres</translation>
    </message>
    <message>
        <source>1 prompt across %1 categories</source>
        <translation>1 invitation dans %1 catégories</translation>
    </message>
    <message numerus="yes">
        <source>%n prompts across %1 categories + yours</source>
        <translation>
            <numerusform>%n invitation dans %1 catégories + les vôtres</numerusform>
            <numerusform>%n invitations dans %1 catégories + les vôtres</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n prompts across %1 categories</source>
        <translation>
            <numerusform>%n invitation dans %1 catégories</numerusform>
            <numerusform>%n invitations dans %1 catégories</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>MenuModel</name>
    <message>
        <source>Velmor — Paused</source>
        <translation>Velmor — En pause</translation>
    </message>
    <message>
        <source>Resume Velmor</source>
        <translation>Reprendre Velmor</translation>
    </message>
    <message>
        <source>Velmor — Active</source>
        <translation>Velmor — Actif</translation>
    </message>
    <message>
        <source>Pause Velmor</source>
        <translation>Mettre Velmor en pause</translation>
    </message>
</context>
<context>
    <name>PromptRow</name>
    <message>
        <source>Edit</source>
        <translation>Modifier</translation>
    </message>
    <message>
        <source>Edit this prompt</source>
        <translation>Modifier cette invitation</translation>
    </message>
    <message>
        <source>Sit with this</source>
        <translation>Rester avec</translation>
    </message>
    <message>
        <source>Sit with this prompt for every overlay</source>
        <translation>Rester avec cette invitation à chaque pause</translation>
    </message>
    <message>
        <source>Let go</source>
        <translation>Laisser aller</translation>
    </message>
    <message>
        <source>Stop sitting with this prompt</source>
        <translation>Ne plus rester avec cette invitation</translation>
    </message>
    <message>
        <source>Favorite</source>
        <translation>Favori</translation>
    </message>
    <message>
        <source>Add to favorites</source>
        <translation>Ajouter aux favoris</translation>
    </message>
    <message>
        <source>Unfavorite</source>
        <translation>Non favori</translation>
    </message>
    <message>
        <source>Remove from favorites</source>
        <translation>Retirer des favoris</translation>
    </message>
    <message>
        <source>Set aside</source>
        <translation>Mettre de côté</translation>
    </message>
    <message>
        <source>Set this prompt aside</source>
        <translation>Mettre cette invitation de côté</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Supprimer</translation>
    </message>
    <message>
        <source>Delete this prompt</source>
        <translation>Supprimer cette invitation</translation>
    </message>
</context>
<context>
    <name>Recorder</name>
    <message>
        <source>This desktop does not let programs set global shortcuts. Bind velmor --now to a key in your desktop&apos;s keyboard settings instead.</source>
        <translation>Ce bureau ne permet pas aux programmes de définir des raccourcis globaux. Associez plutôt velmor --now à une touche dans les réglages du clavier de votre bureau.</translation>
    </message>
    <message>
        <source>Record Shortcut</source>
        <translation>Enregistrer un raccourci</translation>
    </message>
    <message>
        <source>Press Shortcut</source>
        <translation>Appuyez sur le raccourci</translation>
    </message>
    <message>
        <source>This keyboard shortcut cannot be used as it&apos;s already used by the “%1” menu item.</source>
        <translation>Ce raccourci clavier ne peut pas être utilisé, car il sert déjà à l’élément de menu « %1 ».</translation>
    </message>
    <message>
        <source>This keyboard shortcut cannot be used as it&apos;s already used by a system-wide keyboard shortcut.</source>
        <translation>Ce raccourci clavier ne peut pas être utilisé, car il sert déjà de raccourci global du système.</translation>
    </message>
    <message>
        <source>Most system-wide keyboard shortcuts can be changed in your desktop&apos;s keyboard settings.</source>
        <translation>La plupart des raccourcis globaux se modifient dans les réglages du clavier de votre bureau.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Use Anyway</source>
        <translation>Utiliser quand même</translation>
    </message>
</context>
<context>
    <name>SetAsideSection</name>
    <message>
        <source>Restore</source>
        <translation>Rétablir</translation>
    </message>
    <message>
        <source>Restore </source>
        <translation>Rétablir </translation>
    </message>
    <message numerus="yes">
        <source>%n set aside</source>
        <translation>
            <numerusform>%n mise de côté</numerusform>
            <numerusform>%n mises de côté</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>SettingsStore</name>
    <message>
        <source>Settings</source>
        <translation>Réglages</translation>
    </message>
    <message>
        <source>not a JSON object</source>
        <translation>pas un objet JSON</translation>
    </message>
</context>
<context>
    <name>ShortcutDescription</name>
    <message>
        <source>Key %1</source>
        <translation>Touche %1</translation>
    </message>
</context>
<context>
    <name>Sidebar</name>
    <message>
        <source>Home</source>
        <translation>Accueil</translation>
    </message>
    <message>
        <source>Timer</source>
        <translation>Minuteur</translation>
    </message>
    <message>
        <source>Theme</source>
        <translation>Thème</translation>
    </message>
    <message>
        <source>Content</source>
        <translation>Contenu</translation>
    </message>
    <message>
        <source>Sound</source>
        <translation>Son</translation>
    </message>
    <message>
        <source>General</source>
        <translation>Général</translation>
    </message>
    <message>
        <source>About</source>
        <translation>À propos</translation>
    </message>
    <message>
        <source>Paused</source>
        <translation>En pause</translation>
    </message>
    <message>
        <source>Active</source>
        <translation>Actif</translation>
    </message>
    <message>
        <source>Velmor is paused. Tap to start.</source>
        <translation>Velmor est en pause. Cliquez pour démarrer.</translation>
    </message>
    <message>
        <source>Velmor is active. Tap to pause.</source>
        <translation>Velmor est actif. Cliquez pour mettre en pause.</translation>
    </message>
</context>
<context>
    <name>SoundSettingsView</name>
    <message>
        <source>Tap to select this sound</source>
        <translation>Cliquez pour choisir ce son</translation>
    </message>
</context>
<context>
    <name>ThemeSettingsView</name>
    <message>
        <source>%1 theme, %2</source>
        <translation>Thème %1, %2</translation>
    </message>
    <message>
        <source>Tap to select this theme</source>
        <translation>Cliquez pour choisir ce thème</translation>
    </message>
</context>
<context>
    <name>TimerSettingsView</name>
    <message>
        <source>hours</source>
        <translation>heures</translation>
    </message>
    <message>
        <source>minutes</source>
        <translation>minutes</translation>
    </message>
</context>
<context>
    <name>velmor::AboutScreen</name>
    <message>
        <source>A caring friend who shows up, sits with you,
and invites you to simply be.</source>
        <translation>Un ami attentionné qui passe, s’assoit avec vous
et vous invite simplement à être.</translation>
    </message>
    <message>
        <source>Every so often, your screen goes dark.
A single line of text fades in.
Then you return.</source>
        <translation>De temps en temps, votre écran s’assombrit.
Une seule ligne de texte apparaît.
Puis vous revenez.</translation>
    </message>
    <message>
        <source>This is an early version. Your experience matters.</source>
        <translation>Ceci est une première version. Votre expérience compte.</translation>
    </message>
    <message>
        <source>Share your thoughts</source>
        <translation>Partagez votre avis</translation>
    </message>
    <message>
        <source>Made with presence.</source>
        <translation>Fait avec présence.</translation>
    </message>
</context>
<context>
    <name>velmor::CategoryDetailView</name>
    <message>
        <source>Nothing here yet.</source>
        <translation>Rien ici pour l’instant.</translation>
    </message>
</context>
<context>
    <name>velmor::ContentLibraryScreen</name>
    <message>
        <source>Your library</source>
        <translation>Votre bibliothèque</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Exporter</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>Importer</translation>
    </message>
    <message>
        <source>Velmor library (*.velmor *.json)</source>
        <translation>Bibliothèque Velmor (*.velmor *.json)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Tous les fichiers (*)</translation>
    </message>
    <message>
        <source>Save your Velmor library</source>
        <translation>Enregistrer votre bibliothèque Velmor</translation>
    </message>
    <message>
        <source>Choose a Velmor library file</source>
        <translation>Choisir un fichier de bibliothèque Velmor</translation>
    </message>
</context>
<context>
    <name>velmor::GeneralScreen</name>
    <message>
        <source>Trigger velmoring</source>
        <translation>Déclencher un moment Velmor</translation>
    </message>
    <message>
        <source>Appearance</source>
        <translation>Apparence</translation>
    </message>
    <message>
        <source>Velmor darkens</source>
        <translation>Velmor assombrit</translation>
    </message>
    <message>
        <source>Startup</source>
        <translation>Démarrage</translation>
    </message>
    <message>
        <source>Launch Velmor at login</source>
        <translation>Lancer Velmor à l’ouverture de session</translation>
    </message>
    <message>
        <source>Calls</source>
        <translation>Appels</translation>
    </message>
    <message>
        <source>Pause during calls and recordings</source>
        <translation>Suspendre pendant les appels et les enregistrements</translation>
    </message>
    <message>
        <source>Velmor will wait to arrive when your microphone is in use or you have a meeting on your calendar.</source>
        <translation>Velmor attend pour arriver tant que votre micro est utilisé ou qu’une réunion figure dans votre agenda.</translation>
    </message>
    <message>
        <source>Keyboard shortcuts</source>
        <translation>Raccourcis clavier</translation>
    </message>
    <message>
        <source>You can also trigger velmoring from the menu bar — click the leaf and select &quot;Velmor now.&quot;</source>
        <translation>Vous pouvez aussi déclencher un moment Velmor depuis la barre de menus — cliquez sur la feuille et choisissez « Velmor maintenant ».</translation>
    </message>
</context>
<context>
    <name>velmor::HomeScreen</name>
    <message>
        <source>Velmor is with you</source>
        <translation>Velmor est avec vous</translation>
    </message>
    <message>
        <source>Sitting with this</source>
        <translation>Vous restez avec celle-ci</translation>
    </message>
    <message>
        <source>Let go</source>
        <translation>Laisser aller</translation>
    </message>
    <message>
        <source>Every so often, your screen will go dark.</source>
        <translation>De temps en temps, votre écran s’assombrira.</translation>
    </message>
    <message>
        <source>A single line of text will fade in. Sit with it for a moment — then return whenever you&apos;re ready.</source>
        <translation>Une seule ligne de texte apparaîtra. Restez un moment avec elle — puis revenez quand vous le souhaitez.</translation>
    </message>
    <message>
        <source>Your first moment of velmor is on its way.</source>
        <translation>Votre premier moment Velmor arrive bientôt.</translation>
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
        <translation>Texte de l’invitation</translation>
    </message>
    <message>
        <source>Attribution (optional)</source>
        <translation>Source (facultative)</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Enregistrer</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
</context>
<context>
    <name>velmor::IntervalInput</name>
    <message>
        <source>unit</source>
        <translation>unité</translation>
    </message>
</context>
<context>
    <name>velmor::MainWindow</name>
    <message>
        <source>Open settings</source>
        <translation>Ouvrir les réglages</translation>
    </message>
</context>
<context>
    <name>velmor::PromptListScreen</name>
    <message>
        <source>Back to your library</source>
        <translation>Retour à votre bibliothèque</translation>
    </message>
</context>
<context>
    <name>velmor::PromptRow</name>
    <message>
        <source>Favorite</source>
        <translation>Favori</translation>
    </message>
</context>
<context>
    <name>velmor::ShelfRowButton</name>
    <message numerus="yes">
        <source>%1, %n prompts</source>
        <translation>
            <numerusform>%1, %n invitation</numerusform>
            <numerusform>%1, %n invitations</numerusform>
        </translation>
    </message>
    <message>
        <source>+ Add</source>
        <translation>+ Ajouter</translation>
    </message>
    <message>
        <source>%1, 1 prompt</source>
        <translation>%1, 1 invitation</translation>
    </message>
    <message>
        <source>%1, 1 favorite</source>
        <translation>%1, 1 favori</translation>
    </message>
    <message numerus="yes">
        <source>%1, %n favorites</source>
        <translation>
            <numerusform>%1, %n favori</numerusform>
            <numerusform>%1, %n favoris</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>velmor::SoundScreen</name>
    <message>
        <source>Arrival sound</source>
        <translation>Son d’arrivée</translation>
    </message>
    <message>
        <source>Play %1</source>
        <translation>Écouter %1</translation>
    </message>
    <message>
        <source>Departure sound</source>
        <translation>Son de départ</translation>
    </message>
    <message>
        <source>Play a softer sound when the overlay fades away</source>
        <translation>Jouer un son plus doux quand la pause s’efface</translation>
    </message>
    <message>
        <source>Volume</source>
        <translation>Volume</translation>
    </message>
</context>
<context>
    <name>velmor::SyncSettingsBlock</name>
    <message>
        <source>Sync</source>
        <translation>Synchronisation</translation>
    </message>
    <message>
        <source>Choose folder...</source>
        <translation>Choisir un dossier…</translation>
    </message>
    <message>
        <source>Stop syncing</source>
        <translation>Arrêter la synchronisation</translation>
    </message>
    <message>
        <source>Shares the theme, sound, fixed interval, your prompts, favourites and set-aside prompts with your other computers through a folder that a sync program such as Syncthing or Nextcloud keeps equal.</source>
        <translation>Partage le thème, le son, l’intervalle fixe, vos invitations, vos favoris et les invitations mises de côté avec vos autres ordinateurs, par un dossier qu’un programme de synchronisation comme Syncthing ou Nextcloud garde identique.</translation>
    </message>
    <message>
        <source>Choose a sync folder</source>
        <translation>Choisir un dossier de synchronisation</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Désactivé</translation>
    </message>
</context>
<context>
    <name>velmor::ThemeScreen</name>
    <message>
        <source>Overlay Theme</source>
        <translation>Thème de la pause</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Aperçu</translation>
    </message>
    <message>
        <source>Preview %1</source>
        <translation>Aperçu de %1</translation>
    </message>
</context>
<context>
    <name>velmor::ThemeTile</name>
    <message>
        <source>Be here.</source>
        <translation>Soyez là.</translation>
    </message>
</context>
<context>
    <name>velmor::TimerScreen</name>
    <message>
        <source>Interval mode</source>
        <translation>Mode d’intervalle</translation>
    </message>
    <message>
        <source>Arrive every</source>
        <translation>Arriver toutes les</translation>
    </message>
    <message>
        <source>Arrive between</source>
        <translation>Arriver entre</translation>
    </message>
    <message>
        <source>Shortest interval</source>
        <translation>Intervalle le plus court</translation>
    </message>
    <message>
        <source>Longest interval</source>
        <translation>Intervalle le plus long</translation>
    </message>
    <message>
        <source>and</source>
        <translation>et</translation>
    </message>
    <message>
        <source>Velmor will arrive at this interval while active. Press any key or click to return when it appears.</source>
        <translation>Tant qu’il est actif, Velmor arrive à cet intervalle. Quand il apparaît, appuyez sur une touche ou cliquez pour revenir.</translation>
    </message>
</context>
<context>
    <name>velmor::TrayMenu</name>
    <message>
        <source>Velmor now</source>
        <translation>Velmor maintenant</translation>
    </message>
    <message>
        <source>Open Velmor</source>
        <translation>Ouvrir Velmor</translation>
    </message>
    <message>
        <source>Quit Velmor</source>
        <translation>Quitter Velmor</translation>
    </message>
</context>
<context>
    <name>velmor::UserLibrary</name>
    <message>
        <source>User library</source>
        <translation>Bibliothèque personnelle</translation>
    </message>
</context>
<context>
    <name>velmor::YourPromptsView</name>
    <message>
        <source>Yours</source>
        <translation>Les vôtres</translation>
    </message>
    <message>
        <source>Your prompts will appear here.</source>
        <translation>Vos invitations apparaîtront ici.</translation>
    </message>
    <message>
        <source>Add something you love...</source>
        <translation>Ajoutez quelque chose que vous aimez…</translation>
    </message>
    <message>
        <source>Attribution (optional)</source>
        <translation>Source (facultative)</translation>
    </message>
</context>
</TS>
