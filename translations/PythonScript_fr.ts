<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>Bellwick_SceneUI</name>
    <message>
        <source>Python Script Console</source>
        <translation>Console de script Python</translation>
    </message>
    <message>
        <source>Python Scripts</source>
        <translation>Scripts Python</translation>
    </message>
    <message>
        <source>Python Script Editor</source>
        <translation>Éditeur de scripts Python</translation>
    </message>
</context>
<context>
    <name>PythonScript</name>
    <message>
        <source>Python threads still running at exit were not waited for: %1</source>
        <translation>Les fils d&apos;exécution Python encore actifs à la sortie n&apos;ont pas été attendus : %1</translation>
    </message>
    <message>
        <source>      Setting Python Path: %1 </source>
        <translation>      Chemin de recherche de Python : %1 </translation>
    </message>
    <message>
        <source>      Loaded Python from %1.</source>
        <translation>      Python chargé depuis %1.</translation>
    </message>
    <message>
        <source>Python detected
	Python executable: %1
	Python home: %2</source>
        <translation>Python détecté
	Exécutable Python : %1
	Dossier racine de Python : %2</translation>
    </message>
    <message>
        <source>
Failed to initialize Python.</source>
        <translation>
Échec de l&apos;initialisation de Python.</translation>
    </message>
    <message>
        <source>
Potential mismatch in PYTHONPATH path and PYTHON_LIB_PATH</source>
        <translation>
Incohérence possible entre le chemin PYTHONPATH et PYTHON_LIB_PATH</translation>
    </message>
    <message>
        <source>    PYTHON_LIB_PATH preference defines a custom location from which Bellwick will load Python and its linked libraries.</source>
        <translation>    La préférence PYTHON_LIB_PATH désigne un emplacement personnalisé d&apos;où Bellwick chargera Python et les bibliothèques qui lui sont liées.</translation>
    </message>
    <message>
        <source>    PYTHONPATH preference defines the location from which Python load its libraries.</source>
        <translation>    La préférence PYTHONPATH désigne l&apos;emplacement d&apos;où Python charge ses bibliothèques.</translation>
    </message>
    <message>
        <source>Python script plugin initialized.
</source>
        <translation>Module d&apos;extension de script Python initialisé.
</translation>
    </message>
    <message>
        <source>The following file does not exist or cannot be open : %1</source>
        <translation>Le fichier suivant n&apos;existe pas ou ne peut pas être ouvert : %1</translation>
    </message>
    <message>
        <source>Error while creating PyObject</source>
        <translation>Erreur lors de la création du PyObject</translation>
    </message>
    <message>
        <source>Error while creating PyObject from file : %1</source>
        <translation>Erreur lors de la création du PyObject à partir du fichier : %1</translation>
    </message>
    <message>
        <source>Error while creating PyObject module &apos;%1&apos;</source>
        <translation>Erreur lors de la création du module PyObject « %1 »</translation>
    </message>
    <message>
        <source>No function were found in the following file : %1</source>
        <translation>Aucune fonction n&apos;a été trouvée dans le fichier suivant : %1</translation>
    </message>
    <message>
        <source>This can happen if the file does not contain any function or if there is some error in the script (ex: cannot find some import module)</source>
        <translation>Cela peut arriver si le fichier ne contient aucune fonction ou si le script contient une erreur (par ex. un module importé introuvable)</translation>
    </message>
    <message>
        <source>The host shows no main window to dock &quot;%1&quot; in (run bellwick with --window).</source>
        <translation>L&apos;hôte n&apos;affiche aucune fenêtre principale où ancrer « %1 » (lancez bellwick avec --window).</translation>
    </message>
    <message>
        <source>The virtual environment %1 is not used: it has no pyvenv.cfg.</source>
        <translation>L&apos;environnement virtuel %1 n&apos;est pas utilisé : il n&apos;a pas de pyvenv.cfg.</translation>
    </message>
    <message>
        <source>The virtual environment %1 is not used: its pyvenv.cfg names no Python version.</source>
        <translation>L&apos;environnement virtuel %1 n&apos;est pas utilisé : son pyvenv.cfg ne nomme aucune version de Python.</translation>
    </message>
    <message>
        <source>The virtual environment %1 is not used: it was made for Python %2, and Python %3 runs here.</source>
        <translation>L&apos;environnement virtuel %1 n&apos;est pas utilisé : il a été créé pour Python %2, et c&apos;est Python %3 qui s&apos;exécute ici.</translation>
    </message>
    <message>
        <source>Debug server listening on 127.0.0.1:%1</source>
        <translation>Serveur de débogage à l&apos;écoute sur 127.0.0.1:%1</translation>
    </message>
    <message>
        <source>Debug server not started: %1 (it needs debugpy, Debian&apos;s python3-debugpy)</source>
        <translation>Serveur de débogage non démarré : %1 (il faut debugpy, le paquet Debian python3-debugpy)</translation>
    </message>
</context>
<context>
    <name>PythonScriptConsoleImpl</name>
    <message>
        <source>Python Loaded: 

</source>
        <translation>Python chargé : 

</translation>
    </message>
</context>
<context>
    <name>PythonScriptConsoleView</name>
    <message>
        <source>the interpreter was not started (see the Python start-up log)</source>
        <translation>l&apos;interpréteur n&apos;a pas été démarré (voir le journal de démarrage de Python)</translation>
    </message>
    <message>
        <source>Python is not available: %1</source>
        <translation>Python n&apos;est pas disponible : %1</translation>
    </message>
</context>
<context>
    <name>ScriptEditorView</name>
    <message>
        <source>Recent Files</source>
        <translation>Fichiers récents</translation>
    </message>
    <message>
        <source>untitled</source>
        <translation>sans titre</translation>
    </message>
    <message>
        <source>Open Script</source>
        <translation>Ouvrir un script</translation>
    </message>
    <message>
        <source>Cannot read %1.</source>
        <translation>Impossible de lire %1.</translation>
    </message>
    <message>
        <source>Python files (*.py);;All files (*)</source>
        <translation>Fichiers Python (*.py);;Tous les fichiers (*)</translation>
    </message>
    <message>
        <source>Save Script As</source>
        <translation>Enregistrer le script sous</translation>
    </message>
    <message>
        <source>Python files (*.py)</source>
        <translation>Fichiers Python (*.py)</translation>
    </message>
    <message>
        <source>Save Script</source>
        <translation>Enregistrer le script</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>Impossible d&apos;écrire %1 : %2</translation>
    </message>
    <message>
        <source>Unsaved Changes</source>
        <translation>Modifications non enregistrées</translation>
    </message>
    <message>
        <source>Save the changes to %1?</source>
        <translation>Enregistrer les modifications de %1 ?</translation>
    </message>
    <message>
        <source>Go to Line</source>
        <translation>Aller à la ligne</translation>
    </message>
    <message>
        <source>Line:</source>
        <translation>Ligne :</translation>
    </message>
    <message>
        <source>File Changed on Disk</source>
        <translation>Fichier modifié sur le disque</translation>
    </message>
    <message>
        <source>%1 changed on disk. Reload it and lose your unsaved edits?</source>
        <translation>%1 a été modifié sur le disque. Le recharger et perdre vos modifications non enregistrées ?</translation>
    </message>
    <message>
        <source>%1 (read-only)</source>
        <translation>%1 (lecture seule)</translation>
    </message>
    <message>
        <source>%1 is not UTF-8 text; it is shown read-only and not written back.</source>
        <translation>%1 n&apos;est pas du texte UTF-8 ; il est affiché en lecture seule et n&apos;est pas réécrit.</translation>
    </message>
</context>
<context>
    <name>ScriptFindBar</name>
    <message>
        <source>Find</source>
        <translation>Rechercher</translation>
    </message>
    <message>
        <source>Replace with</source>
        <translation>Remplacer par</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Suivant</translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>Remplacer</translation>
    </message>
    <message>
        <source>Replace All</source>
        <translation>Tout remplacer</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
</context>
<context>
    <name>ScriptsView</name>
    <message>
        <source>New Script</source>
        <translation>Nouveau script</translation>
    </message>
    <message>
        <source>Name:</source>
        <translation>Nom :</translation>
    </message>
    <message>
        <source>A script name cannot hold a folder separator: %1</source>
        <translation>Un nom de script ne peut pas contenir de séparateur de dossier : %1</translation>
    </message>
    <message>
        <source>Cannot create %1: %2</source>
        <translation>Impossible de créer %1 : %2</translation>
    </message>
</context>
</TS>
