<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>Bellwick_SceneUI</name>
    <message>
        <source>Python Script Console</source>
        <translation>Console de script Python</translation>
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
</TS>
