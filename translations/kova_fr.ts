<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr" sourcelanguage="en">
<context>
    <name>kova</name>
    <message>
        <source>Leave the modem connected and powered: press Enter to repeat the upgrade.</source>
        <translation>Laissez le modem branché et sous tension : appuyez sur Entrée pour recommencer la mise à jour.</translation>
    </message>
    <message>
        <source>Verify if DNS adresses are good.</source>
        <translation>Vérifiez que les adresses DNS sont correctes.</translation>
    </message>
    <message>
        <source>Change the addreseses before you click Modify.</source>
        <translation>Modifiez les adresses avant de cliquer sur Modifier.</translation>
    </message>
    <message>
        <source>&amp;DNS servers :</source>
        <translation>Serveurs &amp;DNS :</translation>
    </message>
    <message>
        <source>Secondary DNS server</source>
        <translation>Serveur DNS secondaire</translation>
    </message>
    <message>
        <source>&amp;Modify</source>
        <translation>&amp;Modifier</translation>
    </message>
    <message>
        <source>&amp;Keep Current</source>
        <translation>&amp;Conserver</translation>
    </message>
    <message>
        <source>KOVA Satellite IP Modem Upgrader</source>
        <translation>Outil de mise à jour du modem IP satellite KOVA</translation>
    </message>
    <message>
        <source>IP Address:</source>
        <translation>Adresse IP :</translation>
    </message>
    <message>
        <source>New software version:</source>
        <translation>Nouvelle version du logiciel :</translation>
    </message>
    <message>
        <source>Modem software version:</source>
        <translation>Version du logiciel du modem :</translation>
    </message>
    <message>
        <source>Connection to the Satellite IP Modem</source>
        <translation>Connexion au modem IP satellite</translation>
    </message>
    <message>
        <source>Automatic PIC upgrade</source>
        <translation>Mise à jour PIC automatique</translation>
    </message>
    <message>
        <source>&amp;Upgrade</source>
        <translation>&amp;Mettre à jour</translation>
    </message>
    <message>
        <source>Upgrade software</source>
        <translation>Mettre à jour le logiciel</translation>
    </message>
    <message>
        <source>&amp;Restore</source>
        <translation>&amp;Restaurer</translation>
    </message>
    <message>
        <source>Restore original software</source>
        <translation>Restaurer le logiciel d&apos;origine</translation>
    </message>
    <message>
        <source>&amp;PIC upgrade</source>
        <translation>Mise à jour &amp;PIC</translation>
    </message>
    <message>
        <source>PIC upgrade without Software Upgrade</source>
        <translation>Mise à jour du PIC sans mise à jour du logiciel</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Progression</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>État</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Fichier</translation>
    </message>
    <message>
        <source>&amp;Tools</source>
        <translation>&amp;Outils</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Aide</translation>
    </message>
    <message>
        <source>No PIC file to upgrade in this version.</source>
        <translation>Aucun fichier PIC à mettre à jour dans cette version.</translation>
    </message>
    <message>
        <source> Satellite IP Modem Upgrader

  Upgrades and restores the software of the
  KOVA Satellite IP Modem and its PIC controller,
  and sets the modem&apos;s DNS and LAN addresses.

  Version 2.6 October 15, 2006</source>
        <translation> Outil de mise à jour du modem IP satellite

  Met à jour et restaure le logiciel du
  modem IP satellite KOVA et de son contrôleur PIC,
  et définit les adresses DNS et LAN du modem.

  Version 2.6 du 15 octobre 2006</translation>
    </message>
    <message>
        <source>&amp;PicUpgrade</source>
        <translation>Mise à jour &amp;PIC</translation>
    </message>
    <message>
        <source>&amp;DisableAutoPicUpgrade</source>
        <translation>&amp;Désactiver la mise à jour PIC automatique</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Quitter</translation>
    </message>
    <message>
        <source>&amp;Configure Modem &amp;Interface</source>
        <translation>&amp;Configurer l&apos;interface du modem</translation>
    </message>
    <message>
        <source>&amp;Get Software Version</source>
        <translation>&amp;Obtenir la version du logiciel</translation>
    </message>
    <message>
        <source>&amp;Set DNS addresses</source>
        <translation>&amp;Définir les adresses DNS</translation>
    </message>
    <message>
        <source>&amp;Reset Modem</source>
        <translation>&amp;Redémarrer le modem</translation>
    </message>
    <message>
        <source>&amp;About Upgrader...</source>
        <translation>À &amp;propos de l&apos;outil de mise à jour...</translation>
    </message>
    <message>
        <source>The upgrade history could not be written.
%1</source>
        <translation>L&apos;historique des mises à jour n&apos;a pas pu être enregistré.
%1</translation>
    </message>
    <message>
        <source>Please enter Satellite IP Modem&apos;s IP address.</source>
        <translation>Veuillez saisir l&apos;adresse IP du modem IP satellite.</translation>
    </message>
    <message>
        <source>Please enter Satellite IP Modem&apos;s IP Address.</source>
        <translation>Veuillez saisir l&apos;adresse IP du modem IP satellite.</translation>
    </message>
    <message>
        <source>Satellite IP Modem closed the connection. Connection lost.</source>
        <translation>Le modem IP satellite a fermé la connexion. Connexion perdue.</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Erreur</translation>
    </message>
    <message>
        <source>Unable to get Satellite IP Modem&apos;s software version.

Upgrade process can be continued.</source>
        <translation>Impossible d&apos;obtenir la version du logiciel du modem IP satellite.

La mise à jour peut se poursuivre.</translation>
    </message>
    <message>
        <source>Unable to get Satellite IP Modem&apos;s software version.

Please check the cable connection.
Remove power and reapply power to the Satellite IP Modem.
Get software version using Tools menu before retrying.
Close and restart Upgrader if error repeats.</source>
        <translation>Impossible d&apos;obtenir la version du logiciel du modem IP satellite.

Veuillez vérifier le branchement du câble.
Mettez le modem IP satellite hors tension, puis remettez-le sous tension.
Obtenez la version du logiciel depuis le menu Outils avant de réessayer.
Si l&apos;erreur se reproduit, fermez et relancez l&apos;outil de mise à jour.</translation>
    </message>
    <message>
        <source>FTP timeout.

Remove power and reapply power to the Satellite IP Modem.
Get software version using Tools menu before retrying.
Close and restart Upgrader if error repeats.</source>
        <translation>Délai FTP dépassé.

Mettez le modem IP satellite hors tension, puis remettez-le sous tension.
Obtenez la version du logiciel depuis le menu Outils avant de réessayer.
Si l&apos;erreur se reproduit, fermez et relancez l&apos;outil de mise à jour.</translation>
    </message>
    <message>
        <source>FTP timeout.

Remove power and reapply power to the Satellite IP Modem.
Get software version using Tools menu before retrying.
Close and restart Upgrader if error repeats.
</source>
        <translation>Délai FTP dépassé.

Mettez le modem IP satellite hors tension, puis remettez-le sous tension.
Obtenez la version du logiciel depuis le menu Outils avant de réessayer.
Si l&apos;erreur se reproduit, fermez et relancez l&apos;outil de mise à jour.
</translation>
    </message>
    <message>
        <source>FTP timeout.
Can not connect to the Satellite IP Modem.

Please check the cable connection.
Remove power and reapply power to the Satellite IP Modem.
Get software version using Tools menu before retrying.
Close and restart Upgrader if error repeats.</source>
        <translation>Délai FTP dépassé.
Impossible de se connecter au modem IP satellite.

Veuillez vérifier le branchement du câble.
Mettez le modem IP satellite hors tension, puis remettez-le sous tension.
Obtenez la version du logiciel depuis le menu Outils avant de réessayer.
Si l&apos;erreur se reproduit, fermez et relancez l&apos;outil de mise à jour.</translation>
    </message>
    <message>
        <source>Unable to reset Satellite IP Modem.

Remove power and reapply power to the Satellite IP Modem.</source>
        <translation>Impossible de redémarrer le modem IP satellite.

Mettez le modem IP satellite hors tension, puis remettez-le sous tension.</translation>
    </message>
    <message>
        <source>An unexpected FTP error occurred. Operation cancelled.

Error Code:  %1 : %2</source>
        <translation>Une erreur FTP inattendue s&apos;est produite. Opération annulée.

Code d&apos;erreur : %1 : %2</translation>
    </message>
    <message>
        <source>An unexpected FTP error occurred.
Operation cancelled.

Error Code:  %1 : %2</source>
        <translation>Une erreur FTP inattendue s&apos;est produite.
Opération annulée.

Code d&apos;erreur : %1 : %2</translation>
    </message>
    <message>
        <source>Incorrect Username or Password!</source>
        <translation>Nom d&apos;utilisateur ou mot de passe incorrect !</translation>
    </message>
    <message>
        <source>Can not connect to Satellite IP Modem. Please check cable connection and retry.</source>
        <translation>Impossible de se connecter au modem IP satellite. Veuillez vérifier le branchement du câble et réessayer.</translation>
    </message>
    <message>
        <source>Upgrade failed.  Click OK and close the upgrader.  Check connection before retrying upgrade.  Upgrader FTP state = %1</source>
        <translation>Échec de la mise à jour. Cliquez sur OK et fermez l&apos;outil de mise à jour. Vérifiez la connexion avant de relancer la mise à jour. État FTP de l&apos;outil = %1</translation>
    </message>
    <message>
        <source>FTP connection was suddenly closed.

Remove power and reapply power to the Satellite IP Modem, then repeat last operation.</source>
        <translation>La connexion FTP a été fermée brusquement.

Mettez le modem IP satellite hors tension et remettez-le sous tension, puis recommencez la dernière opération.</translation>
    </message>
    <message>
        <source>Upgrade failed. Click OK and close the upgrader.  Check connection before retrying upgrade.</source>
        <translation>Échec de la mise à jour. Cliquez sur OK et fermez l&apos;outil de mise à jour. Vérifiez la connexion avant de relancer la mise à jour.</translation>
    </message>
    <message>
        <source>Upgrade failed.  Click OK and close the upgrader.  Turn the Satellite IP Modem off and on again before retrying upgrade.</source>
        <translation>Échec de la mise à jour. Cliquez sur OK et fermez l&apos;outil de mise à jour. Éteignez puis rallumez le modem IP satellite avant de relancer la mise à jour.</translation>
    </message>
    <message>
        <source>Syslog file downloading failed.  Click OK and close the upgrader.  Check connection before retrying.</source>
        <translation>Échec du téléchargement du fichier Syslog. Cliquez sur OK et fermez l&apos;outil de mise à jour. Vérifiez la connexion avant de réessayer.</translation>
    </message>
    <message>
        <source>Reading the modem&apos;s image failed.</source>
        <translation>Échec de la lecture de l&apos;image du modem.</translation>
    </message>
    <message>
        <source>Can not send command to upgrade the PIC. 
Please check cable connections, remove and reapply power to the modem.
Repeat upgrade process.</source>
        <translation>Impossible d&apos;envoyer la commande de mise à jour du PIC.
Veuillez vérifier les branchements des câbles, mettre le modem hors tension puis le remettre sous tension.
Recommencez la mise à jour.</translation>
    </message>
    <message>
        <source>Telnet did not respond.
Please terminate any active Telnet connections.</source>
        <translation>Telnet ne répond pas.
Veuillez fermer toutes les connexions Telnet actives.</translation>
    </message>
    <message>
        <source>Upgrade Completed.
Click OK and wait until we get software version.</source>
        <translation>Mise à jour terminée.
Cliquez sur OK et patientez jusqu&apos;à l&apos;obtention de la version du logiciel.</translation>
    </message>
    <message>
        <source>PIC Upgrade failed.  Click OK and try again.  If it fail again, call support.</source>
        <translation>Échec de la mise à jour du PIC. Cliquez sur OK et réessayez. Si l&apos;échec se reproduit, contactez l&apos;assistance.</translation>
    </message>
    <message>
        <source>The AT command could not be sent.
Please check cable connections.
Remove and reapply power to the modem.
Use Tool menu to check DNS addresses.</source>
        <translation>La commande AT n&apos;a pas pu être envoyée.
Veuillez vérifier les branchements des câbles.
Mettez le modem hors tension, puis remettez-le sous tension.
Vérifiez les adresses DNS depuis le menu Outils.</translation>
    </message>
    <message>
        <source>The modem did not answer the AT command.
Please check cable connections.
Remove and reapply power to the modem.
Use Tool menu to check DNS addresses.</source>
        <translation>Le modem n&apos;a pas répondu à la commande AT.
Veuillez vérifier les branchements des câbles.
Mettez le modem hors tension, puis remettez-le sous tension.
Vérifiez les adresses DNS depuis le menu Outils.</translation>
    </message>
    <message>
        <source>The modem closed the AT connection without answering.
Please check cable connections.
Remove and reapply power to the modem.
Use Tool menu to check DNS addresses.</source>
        <translation>Le modem a fermé la connexion AT sans répondre.
Veuillez vérifier les branchements des câbles.
Mettez le modem hors tension, puis remettez-le sous tension.
Vérifiez les adresses DNS depuis le menu Outils.</translation>
    </message>
    <message>
        <source>The modem&apos;s answer to the AT command could not be read.
Please check cable connections.
Remove and reapply power to the modem.
Use Tool menu to check DNS addresses.</source>
        <translation>La réponse du modem à la commande AT n&apos;a pas pu être lue.
Veuillez vérifier les branchements des câbles.
Mettez le modem hors tension, puis remettez-le sous tension.
Vérifiez les adresses DNS depuis le menu Outils.</translation>
    </message>
    <message>
        <source>Can&apos;t verify DNS address.

Check if SIM card is inserted correctly.
Reset Modem and repeat command.
</source>
        <translation>Impossible de vérifier l&apos;adresse DNS.

Vérifiez que la carte SIM est correctement insérée.
Redémarrez le modem et recommencez la commande.
</translation>
    </message>
    <message>
        <source>Wrong DNS adress.
</source>
        <translation>Adresse DNS incorrecte.
</translation>
    </message>
    <message>
        <source>Wrong DNS2 adress.
</source>
        <translation>Adresse DNS2 incorrecte.
</translation>
    </message>
    <message>
        <source>Data arrival from AT in wrong state %1</source>
        <translation>Données AT reçues dans l&apos;état incorrect %1</translation>
    </message>
    <message>
        <source>Release Series conflict detected. Upgrade not possible.</source>
        <translation>Conflit de série de versions détecté. Mise à jour impossible.</translation>
    </message>
    <message>
        <source>We can&apos;t load this version because checksum file doesn&apos;t exist.</source>
        <translation>Impossible de charger cette version : le fichier de somme de contrôle n&apos;existe pas.</translation>
    </message>
    <message>
        <source>No old versions are available.</source>
        <translation>Aucune ancienne version n&apos;est disponible.</translation>
    </message>
    <message>
        <source>We can&apos;t restore this version because checksum file doesn&apos;t exist.</source>
        <translation>Impossible de restaurer cette version : le fichier de somme de contrôle n&apos;existe pas.</translation>
    </message>
    <message>
        <source>Unable to find pic.hex in home directory %1.
Please copy PIC file in %1</source>
        <translation>Impossible de trouver pic.hex dans le répertoire de l&apos;application %1.
Veuillez copier le fichier PIC dans %1</translation>
    </message>
    <message>
        <source>The image %1 is empty: it would leave the modem without software. Nothing was sent to the modem.</source>
        <translation>L&apos;image %1 est vide : elle laisserait le modem sans logiciel. Rien n&apos;a été envoyé au modem.</translation>
    </message>
    <message>
        <source>The file %1 cannot be read: %2.
Nothing was sent to the modem.</source>
        <translation>Le fichier %1 ne peut pas être lu : %2.
Rien n&apos;a été envoyé au modem.</translation>
    </message>
    <message>
        <source>The modem&apos;s file %1 came back empty, so its software could not be backed up.
The upgrade stopped before anything was sent to the modem.</source>
        <translation>Le fichier %1 du modem a été reçu vide : son logiciel n&apos;a donc pas pu être sauvegardé.
La mise à jour s&apos;est arrêtée avant tout envoi au modem.</translation>
    </message>
    <message>
        <source>The backup of the modem&apos;s software could not be stored:
%1
The upgrade stopped before anything was sent to the modem.</source>
        <translation>La sauvegarde du logiciel du modem n&apos;a pas pu être enregistrée :
%1
La mise à jour s&apos;est arrêtée avant tout envoi au modem.</translation>
    </message>
    <message>
        <source>The backup folder was not free within 60 seconds: %1.
The upgrade stopped before anything was sent to the modem.</source>
        <translation>Le dossier de sauvegarde ne s&apos;est pas libéré dans les 60 secondes : %1.
La mise à jour s&apos;est arrêtée avant tout envoi au modem.</translation>
    </message>
    <message>
        <source>CreatePipe failed. Error: %1</source>
        <translation>Échec de CreatePipe. Erreur : %1</translation>
    </message>
    <message>
        <source>Command not found</source>
        <translation>Commande introuvable</translation>
    </message>
    <message>
        <source>The command did not finish within a minute and was ended:
%1

The PC address was not changed.</source>
        <translation>La commande ne s&apos;est pas terminée en une minute et a été arrêtée :
%1

L&apos;adresse du PC n&apos;a pas été modifiée.</translation>
    </message>
    <message>
        <source>Please change your local IP address manually to 192.168.128.101</source>
        <translation>Veuillez remplacer manuellement votre adresse IP locale par 192.168.128.101</translation>
    </message>
    <message>
        <source>Wrong local IP address</source>
        <translation>Adresse IP locale incorrecte</translation>
    </message>
    <message>
        <source>No data moved between the PC and the modem for 65 seconds.</source>
        <translation>Aucune donnée n&apos;a circulé entre le PC et le modem pendant 65 secondes.</translation>
    </message>
    <message>
        <source>The new software could not be written whole to the Satellite IP Modem at %1.
Its previous software %2 was put back and read back intact; the modem runs it as before.

Check the connection, then repeat the operation.</source>
        <translation>Le nouveau logiciel n&apos;a pas pu être écrit en entier sur le modem IP satellite à l&apos;adresse %1.
Son logiciel précédent %2 a été réinstallé et relu intact ; le modem l&apos;exécute comme avant.

Vérifiez la connexion, puis recommencez l&apos;opération.</translation>
    </message>
    <message>
        <source>The software image on the Satellite IP Modem at %1 is incomplete: the transfer broke, and neither the new nor the previous software could be written whole.

Do not switch the modem off.
Repeat the operation as soon as the modem answers.</source>
        <translation>L&apos;image logicielle du modem IP satellite à l&apos;adresse %1 est incomplète : le transfert a été interrompu, et ni le nouveau ni l&apos;ancien logiciel n&apos;a pu être écrit en entier.

N&apos;éteignez pas le modem.
Recommencez l&apos;opération dès que le modem répond.</translation>
    </message>
    <message>
        <source>The PIC file did not reach the modem intact (%1 read back differs from pic.hex). The PIC was not reflashed.
Repeat the PIC upgrade.</source>
        <translation>Le fichier PIC n&apos;est pas parvenu intact au modem (le fichier %1 relu diffère de pic.hex). Le PIC n&apos;a pas été reprogrammé.
Recommencez la mise à jour du PIC.</translation>
    </message>
    <message>
        <source>An upload to the Satellite IP Modem at %1 began at %2 and never ended: the modem&apos;s software image may be incomplete.

Do not switch the modem off.
Click Upgrade to send the image again, or Restore to put an older version back.</source>
        <translation>Un envoi vers le modem IP satellite à l&apos;adresse %1 a commencé le %2 et ne s&apos;est jamais terminé : l&apos;image logicielle du modem est peut-être incomplète.

N&apos;éteignez pas le modem.
Cliquez sur Mettre à jour pour renvoyer l&apos;image, ou sur Restaurer pour réinstaller une version antérieure.</translation>
    </message>
    <message>
        <source>The Satellite IP Modem at %1 was not restarted: its software image is incomplete (an upload that began at %2 never ended), and it would not start again.

Upgrade it again, or restore an older version, before restarting it.</source>
        <translation>Le modem IP satellite à l&apos;adresse %1 n&apos;a pas été redémarré : son image logicielle est incomplète (un envoi commencé le %2 ne s&apos;est jamais terminé) et il ne pourrait pas redémarrer.

Mettez-le à jour de nouveau ou restaurez une version antérieure avant de le redémarrer.</translation>
    </message>
    <message>
        <source>Another process of this tool is working on the Satellite IP Modem at %1: %2.
Wait until it has finished, then try again.</source>
        <translation>Une autre instance de cet outil travaille sur le modem IP satellite à l&apos;adresse %1 : %2.
Attendez qu&apos;elle ait terminé, puis réessayez.</translation>
    </message>
    <message>
        <source>The new software is not installed: %1
Nothing was sent to the modem.</source>
        <translation>Le nouveau logiciel n&apos;est pas installé : %1
Rien n&apos;a été envoyé au modem.</translation>
    </message>
    <message>
        <source>The backup is not restored: %1
Nothing was sent to the modem.</source>
        <translation>La sauvegarde n&apos;est pas restaurée : %1
Rien n&apos;a été envoyé au modem.</translation>
    </message>
    <message>
        <source>The modem reports version %1 after the upgrade, not %2.</source>
        <translation>Après la mise à jour, le modem indique la version %1 et non %2.</translation>
    </message>
    <message>
        <source>The modem reports version %1 after the restore, not %2.</source>
        <translation>Après la restauration, le modem indique la version %1 et non %2.</translation>
    </message>
    <message>
        <source>Can not connect to modem using existing PC address %1

Upgrader will set static IP address 192.168.128.101 for yor computer.

                 Do you want to proceed?</source>
        <translation>Impossible de se connecter au modem avec l&apos;adresse actuelle du PC %1

L&apos;outil de mise à jour va attribuer l&apos;adresse IP statique 192.168.128.101 à votre ordinateur.

                 Voulez-vous continuer ?</translation>
    </message>
    <message>
        <source>The Satellite IP Modem at %1 did not answer as expected, and its software image is incomplete: an upload that began at %2 never ended.

Do not switch the modem off: it would not start again.
Check the cable connection. As soon as the modem answers, click Upgrade to send the image again, or Restore to put an older version back.</source>
        <translation>Le modem IP satellite à l&apos;adresse %1 n&apos;a pas répondu comme prévu, et son image logicielle est incomplète : un envoi commencé le %2 ne s&apos;est jamais terminé.

N&apos;éteignez pas le modem : il ne redémarrerait pas.
Vérifiez le câble. Dès que le modem répond, cliquez sur Mettre à jour pour renvoyer l&apos;image, ou sur Restaurer pour réinstaller une version antérieure.</translation>
    </message>
    <message>
        <source>%1: %2 of %3 MiB</source>
        <translation>%1 : %2 sur %3 MiB</translation>
    </message>
    <message>
        <source>%1: %2 MiB</source>
        <translation>%1 : %2 MiB</translation>
    </message>
    <message>
        <source>%1, no data for %2 s</source>
        <translation>%1, aucune donnée depuis %2 s</translation>
    </message>
    <message>
        <source>%1, %2 MiB/s</source>
        <translation>%1, %2 MiB/s</translation>
    </message>
    <message>
        <source>%1, %2 s left</source>
        <translation>%1, %2 s restantes</translation>
    </message>
    <message>
        <source>Modem restarting: its version is read again in %1 s.</source>
        <translation>Redémarrage du modem : nouvelle lecture de sa version dans %1 s.</translation>
    </message>
    <message>
        <source>PIC reflash running for %1 s.</source>
        <translation>Reprogrammation du PIC en cours depuis %1 s.</translation>
    </message>
    <message>
        <source>%1 record waits for the records database, which cannot be reached (%2): they go when it answers.</source>
        <translation>%1 enregistrement attend la base de données des enregistrements, injoignable (%2) : il sera envoyé dès qu&apos;elle répondra.</translation>
    </message>
    <message>
        <source>%1 records wait for the records database, which cannot be reached (%2): they go when it answers.</source>
        <translation>%1 enregistrements attendent la base de données des enregistrements, injoignable (%2) : ils seront envoyés dès qu&apos;elle répondra.</translation>
    </message>
    <message>
        <source>The records database answers again: the waiting records are in.</source>
        <translation>La base de données des enregistrements répond de nouveau : les enregistrements en attente ont été transmis.</translation>
    </message>
    <message>
        <source>Cannot remove %1: %2</source>
        <translation>Impossible de supprimer %1 : %2</translation>
    </message>
    <message>
        <source>Cannot write %1</source>
        <translation>Impossible d&apos;écrire %1</translation>
    </message>
    <message>
        <source>there is no folder for settings (HOME is not set)</source>
        <translation>aucun dossier n&apos;est disponible pour les paramètres (HOME n&apos;est pas défini)</translation>
    </message>
    <message>
        <source>its name holds a line break</source>
        <translation>son nom contient un saut de ligne</translation>
    </message>
    <message>
        <source>it is not an absolute path</source>
        <translation>ce n&apos;est pas un chemin absolu</translation>
    </message>
    <message>
        <source>cannot create the folder %1: %2</source>
        <translation>impossible de créer le dossier %1 : %2</translation>
    </message>
    <message>
        <source>cannot write %1: %2</source>
        <translation>impossible d&apos;écrire %1 : %2</translation>
    </message>
    <message>
        <source>Satellite IP Modem</source>
        <translation>Modem IP satellite</translation>
    </message>
    <message>
        <source>You already have the latest version of software.</source>
        <translation>Vous disposez déjà de la dernière version du logiciel.</translation>
    </message>
    <message>
        <source>If the Satellite IP Modem is not already connected to your PC, disconnect the dial-up or LAN connection and connect the Satellite IP Modem to your PC.</source>
        <translation>Si le modem IP satellite n&apos;est pas encore connecté à votre PC, déconnectez la connexion d&apos;accès à distance ou LAN et connectez le modem IP satellite à votre PC.</translation>
    </message>
    <message>
        <source>&amp;Complete upgrade now</source>
        <translation>&amp;Terminer la mise à jour maintenant</translation>
    </message>
    <message>
        <source>Complete &amp;upgrade later</source>
        <translation>Terminer la mise à jour &amp;plus tard</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Unable to find upgrade program home directory %1.
Please install the upgrade program in this Computer.</source>
        <translation>Impossible de trouver le répertoire de l&apos;outil de mise à jour %1.
Veuillez installer l&apos;outil de mise à jour sur cet ordinateur.</translation>
    </message>
    <message>
        <source>Unable to find the binary file %1kova_*.bin. 
Or there is more than one binary file in the application&apos;s home directory.
Please make sure there is and there is only one binary file in that directory.</source>
        <translation>Impossible de trouver le fichier binaire %1kova_*.bin,
ou bien le répertoire de l&apos;application contient plus d&apos;un fichier binaire.
Veuillez vous assurer que ce répertoire contient un seul et unique fichier binaire.</translation>
    </message>
    <message>
        <source>%1 cannot be used: a double quote or a control character in the name of the binary file or of its folder would break every transfer.
Please rename it.</source>
        <translation>%1 ne peut pas être utilisé : un guillemet double ou un caractère de contrôle dans le nom du fichier binaire ou de son dossier ferait échouer tous les transferts.
Veuillez le renommer.</translation>
    </message>
    <message>
        <source>Unable to create the backup directory %1.
The modem&apos;s software cannot be backed up before an upgrade.</source>
        <translation>Impossible de créer le répertoire de sauvegarde %1.
Le logiciel du modem ne peut pas être sauvegardé avant une mise à jour.</translation>
    </message>
    <message>
        <source>%1
Please replace or remove it.</source>
        <translation>%1
Veuillez remplacer ou supprimer ce fichier.</translation>
    </message>
    <message>
        <source>The new software %1 is refused: %2
Nothing will be sent to the modem.</source>
        <translation>Le nouveau logiciel %1 est refusé : %2
Rien ne sera envoyé au modem.</translation>
    </message>
    <message>
        <source>Choose the firmware folder (the one with kova_*.bin)</source>
        <translation>Choisissez le dossier du micrologiciel (celui qui contient kova_*.bin)</translation>
    </message>
    <message>
        <source>The firmware folder %1 could not be remembered for the next start: %2.</source>
        <translation>Le dossier du micrologiciel %1 n&apos;a pas pu être mémorisé pour le prochain démarrage : %2.</translation>
    </message>
    <message>
        <source>There is no kova_*.bin in %1.
Please choose the folder that holds the new software image.</source>
        <translation>Aucun fichier kova_*.bin dans %1.
Veuillez choisir le dossier qui contient l&apos;image du nouveau logiciel.</translation>
    </message>
    <message>
        <source>AT Error %1</source>
        <translation>Erreur AT %1</translation>
    </message>
    <message>
        <source>AT Connecting .....</source>
        <translation>Connexion AT en cours.....</translation>
    </message>
    <message>
        <source>Resetting modem. Wait 20 seconds.</source>
        <translation>Redémarrage du modem. Patientez 20 secondes.</translation>
    </message>
    <message>
        <source>Connection failed.</source>
        <translation>Échec de la connexion.</translation>
    </message>
    <message>
        <source>Sending AT command.</source>
        <translation>Envoi de la commande AT.</translation>
    </message>
    <message>
        <source>Configure Modem Interface</source>
        <translation>Configurer l&apos;interface du modem</translation>
    </message>
    <message>
        <source>Enter IP address of the KOVA Terminal</source>
        <translation>Saisissez l&apos;adresse IP du terminal KOVA</translation>
    </message>
    <message>
        <source>Terminal &amp;IP:</source>
        <translation>&amp;IP du terminal :</translation>
    </message>
    <message>
        <source>.</source>
        <translation>.</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Fermer</translation>
    </message>
    <message>
        <source>&amp;Update</source>
        <translation>&amp;Appliquer</translation>
    </message>
    <message>
        <source>system error %1</source>
        <translation>erreur système %1</translation>
    </message>
    <message>
        <source>Cannot store %1: %2</source>
        <translation>Impossible d&apos;enregistrer %1 : %2</translation>
    </message>
    <message>
        <source>Cannot open %1: %2</source>
        <translation>Impossible d&apos;ouvrir %1 : %2</translation>
    </message>
    <message>
        <source>Cannot sync %1: %2</source>
        <translation>Impossible de synchroniser %1 sur le disque : %2</translation>
    </message>
    <message>
        <source>Cannot lock %1: %2</source>
        <translation>Impossible de verrouiller %1 : %2</translation>
    </message>
    <message>
        <source>it is too long for a minisign public key</source>
        <translation>son contenu est trop long pour une clé publique minisign</translation>
    </message>
    <message>
        <source>it is not a minisign public key (a comment line and one line of base64)</source>
        <translation>ce n&apos;est pas une clé publique minisign (une ligne de commentaire et une ligne en base64)</translation>
    </message>
    <message>
        <source>its key line is not the base64 of a minisign public key</source>
        <translation>sa ligne de clé n&apos;est pas une clé publique minisign codée en base64</translation>
    </message>
    <message>
        <source>it is not an Ed25519 key</source>
        <translation>ce n&apos;est pas une clé Ed25519</translation>
    </message>
    <message>
        <source>it is too long for a minisign signature</source>
        <translation>son contenu est trop long pour une signature minisign</translation>
    </message>
    <message>
        <source>it is not a minisign signature (four lines: a comment, the signature, &quot;trusted comment: &quot; and the comment&apos;s signature)</source>
        <translation>ce n&apos;est pas une signature minisign (quatre lignes : un commentaire, la signature, &quot;trusted comment: &quot; et la signature du commentaire)</translation>
    </message>
    <message>
        <source>its signature line is not the base64 of a minisign signature</source>
        <translation>sa ligne de signature n&apos;est pas une signature minisign codée en base64</translation>
    </message>
    <message>
        <source>its signature is neither of minisign&apos;s Ed25519 forms</source>
        <translation>sa signature ne correspond à aucune des deux formes Ed25519 de minisign</translation>
    </message>
    <message>
        <source>its trusted comment&apos;s signature is not the base64 of a signature</source>
        <translation>la signature de son commentaire de confiance n&apos;est pas une signature codée en base64</translation>
    </message>
    <message>
        <source>its trusted comment holds a control character</source>
        <translation>son commentaire de confiance contient un caractère de contrôle</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>ce n&apos;est pas un fichier ordinaire</translation>
    </message>
    <message>
        <source>KOVA Upgrader</source>
        <translation>KOVA Upgrader</translation>
    </message>
    <message>
        <source>Satellite IP Modem Upgrader</source>
        <translation>Outil de mise à jour du modem IP satellite</translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation>Inconnue</translation>
    </message>
    <message>
        <source>Can not Connect to AT interface. 
Please check cable connections.
Remove and reapply power to the modem.
Repeat upgrade process.</source>
        <translation>Impossible de se connecter à l&apos;interface AT.
Veuillez vérifier les branchements des câbles.
Mettez le modem hors tension, puis remettez-le sous tension.
Recommencez la mise à jour.</translation>
    </message>
    <message>
        <source>A DNS address may not contain a double quote, a line break, another control character or a character the modem&apos;s single-byte text cannot hold.</source>
        <translation>Une adresse DNS ne peut contenir ni guillemet double, ni saut de ligne, ni autre caractère de contrôle, ni caractère non représentable dans le jeu de caractères sur un octet du modem.</translation>
    </message>
    <message>
        <source>The trusted key %1 cannot be used: %2.</source>
        <translation>La clé de confiance %1 est inutilisable : %2.</translation>
    </message>
    <message>
        <source>The list of revoked keys %1 cannot be read: %2.</source>
        <translation>La liste des clés révoquées %1 ne peut pas être lue : %2.</translation>
    </message>
    <message>
        <source>The list of revoked keys %1 cannot be used: line %2 is not a key ID (hex digits, as minisign prints it).</source>
        <translation>La liste des clés révoquées %1 est inutilisable : la ligne %2 n&apos;est pas un identifiant de clé (des chiffres hexadécimaux, tels que minisign les affiche).</translation>
    </message>
    <message>
        <source>it is larger than %1 bytes</source>
        <translation>sa taille dépasse %1 octets</translation>
    </message>
    <message>
        <source>The trusted-key folder %1 cannot be read: %2.</source>
        <translation>Le dossier des clés de confiance %1 ne peut pas être lu : %2.</translation>
    </message>
    <message>
        <source>Cannot use the history file %1: %2</source>
        <translation>Impossible d&apos;utiliser le fichier d&apos;historique %1 : %2</translation>
    </message>
    <message>
        <source>Cannot open the history file %1: %2</source>
        <translation>Impossible d&apos;ouvrir le fichier d&apos;historique %1 : %2</translation>
    </message>
    <message>
        <source>Cannot write the history file %1: %2</source>
        <translation>Impossible d&apos;écrire dans le fichier d&apos;historique %1 : %2</translation>
    </message>
    <message>
        <source>Cannot write the history file %1: only %2 of %3 bytes were written</source>
        <translation>Impossible d&apos;écrire dans le fichier d&apos;historique %1 : seuls %2 octets sur %3 ont été écrits</translation>
    </message>
    <message>
        <source>Cannot save the history file to disk %1: %2</source>
        <translation>Impossible d&apos;enregistrer sur le disque le fichier d&apos;historique %1 : %2</translation>
    </message>
    <message>
        <source>Reset done. Wait .....</source>
        <translation>Redémarrage effectué. Patientez.....</translation>
    </message>
    <message>
        <source>Trying to retrieve Satellite IP Modem software version...</source>
        <translation>Lecture de la version du logiciel du modem IP satellite en cours...</translation>
    </message>
    <message>
        <source>Check Satellite IP Modem software version.</source>
        <translation>Vérifiez la version du logiciel du modem IP satellite.</translation>
    </message>
    <message>
        <source>Software version was retrieved!</source>
        <translation>Version du logiciel obtenue !</translation>
    </message>
    <message>
        <source>ZING Connection failed.</source>
        <translation>Échec de la connexion ZING.</translation>
    </message>
    <message>
        <source>Connection succeed.</source>
        <translation>Connexion réussie.</translation>
    </message>
    <message>
        <source>the backup %1 was not taken by this tool: the history holds no record of it, and with a trusted key only recorded backups are restored.</source>
        <translation>la sauvegarde %1 n&apos;a pas été effectuée par cet outil : l&apos;historique n&apos;en garde aucune trace, et avec une clé de confiance, seules les sauvegardes inscrites dans l&apos;historique sont restaurées.</translation>
    </message>
    <message>
        <source>the SHA-256 of %1 is %2; when it was kept on %3 it was %4.</source>
        <translation>l&apos;empreinte SHA-256 de %1 est %2 ; lors de sa sauvegarde le %3, elle était %4.</translation>
    </message>
    <message>
        <source>Successfully upgraded! Wait...</source>
        <translation>Mise à jour réussie ! Patientez...</translation>
    </message>
    <message>
        <source>Upgrading Satellite IP Modem with version %1 ...</source>
        <translation>Mise à jour du modem IP satellite vers la version %1...</translation>
    </message>
    <message>
        <source>Uploading PIC software! Wait...</source>
        <translation>Envoi du logiciel PIC en cours. Patientez...</translation>
    </message>
    <message>
        <source>PIC successfully uploaded! Wait...</source>
        <translation>Logiciel PIC envoyé avec succès ! Patientez...</translation>
    </message>
    <message>
        <source>Deleting config file</source>
        <translation>Suppression du fichier de configuration</translation>
    </message>
    <message>
        <source>Successfully restored! Wait...</source>
        <translation>Restauration réussie ! Patientez...</translation>
    </message>
    <message>
        <source>Previous software put back. Wait...</source>
        <translation>Logiciel précédent réinstallé. Patientez...</translation>
    </message>
    <message>
        <source>Putting back Satellite IP Modem software version %1 ...</source>
        <translation>Réinstallation de la version %1 du logiciel du modem IP satellite...</translation>
    </message>
    <message>
        <source>Log file doesn&apos;t exist.</source>
        <translation>Le fichier journal n&apos;existe pas.</translation>
    </message>
    <message>
        <source>Log downloaded</source>
        <translation>Journal téléchargé</translation>
    </message>
    <message>
        <source>%1 lies beside the image but is not named in the manifest.</source>
        <translation>%1 se trouve à côté de l&apos;image mais n&apos;est pas cité dans le manifeste.</translation>
    </message>
    <message>
        <source>The manifest names %1 where %2 was expected.</source>
        <translation>Le manifeste cite %1 au lieu de %2.</translation>
    </message>
    <message>
        <source>The manifest names %1, which is missing.</source>
        <translation>Le manifeste cite %1, qui est introuvable.</translation>
    </message>
    <message>
        <source>%1 has %2 bytes; the manifest says %3.</source>
        <translation>%1 fait %2 octets ; le manifeste indique %3.</translation>
    </message>
    <message>
        <source>%1 cannot be read.</source>
        <translation>%1 ne peut pas être lu.</translation>
    </message>
    <message>
        <source>The SHA-256 of %1 is %2; the manifest says %3.</source>
        <translation>L&apos;empreinte SHA-256 de %1 est %2 ; le manifeste indique %3.</translation>
    </message>
    <message>
        <source>The release has no usable manifest %1 (%2): with a trusted key, only a signed release is installed.</source>
        <translation>La version ne contient aucun manifeste %1 utilisable (%2) : avec une clé de confiance, seule une version signée est installée.</translation>
    </message>
    <message>
        <source>The manifest&apos;s signature %1 cannot be read (%2): with a trusted key, only a signed release is installed.</source>
        <translation>La signature %1 du manifeste ne peut pas être lue (%2) : avec une clé de confiance, seule une version signée est installée.</translation>
    </message>
    <message>
        <source>The signature %1 is damaged: %2.</source>
        <translation>La signature %1 est endommagée : %2.</translation>
    </message>
    <message>
        <source>The release is signed with the key %1, which is not trusted.</source>
        <translation>La version est signée avec la clé %1, qui n&apos;est pas une clé de confiance.</translation>
    </message>
    <message>
        <source>The release is signed with the key %1, which is revoked.</source>
        <translation>La version est signée avec la clé %1, qui est révoquée.</translation>
    </message>
    <message>
        <source>The signature %1 does not match %2: the manifest or its signature was changed.</source>
        <translation>La signature %1 ne correspond pas à %2 : le manifeste ou sa signature a été modifié.</translation>
    </message>
    <message>
        <source>The trusted comment of %1 does not match its signature: it was changed.</source>
        <translation>Le commentaire de confiance de %1 ne correspond pas à sa signature : il a été modifié.</translation>
    </message>
    <message>
        <source>The manifest %1 cannot be used: %2.</source>
        <translation>Le manifeste %1 est inutilisable : %2.</translation>
    </message>
    <message>
        <source>The manifest is for version %1, the image is %2.</source>
        <translation>Le manifeste concerne la version %1, l&apos;image est en version %2.</translation>
    </message>
    <message>
        <source>signed by %1</source>
        <translation>signé par %1</translation>
    </message>
    <message>
        <source>not signed</source>
        <translation>non signé</translation>
    </message>
    <message>
        <source>refused</source>
        <translation>refusé</translation>
    </message>
    <message>
        <source>%1 holds &quot;%2&quot;, which this tool does not know</source>
        <translation>%1 contient &quot;%2&quot;, que cet outil ne connaît pas</translation>
    </message>
    <message>
        <source>%1 has no &quot;%2&quot;</source>
        <translation>&quot;%2&quot; manque dans %1</translation>
    </message>
    <message>
        <source>%1&apos;s &quot;%2&quot; is not a text</source>
        <translation>dans %1, &quot;%2&quot; n&apos;est pas un texte</translation>
    </message>
    <message>
        <source>%1 is not an object</source>
        <translation>%1 n&apos;est pas un objet</translation>
    </message>
    <message>
        <source>%1&apos;s &quot;sha256&quot; is not 64 lower-case hex digits</source>
        <translation>dans %1, &quot;sha256&quot; n&apos;est pas formé de 64 chiffres hexadécimaux en minuscules</translation>
    </message>
    <message>
        <source>%1&apos;s &quot;name&quot; is not a file name</source>
        <translation>dans %1, &quot;name&quot; n&apos;est pas un nom de fichier</translation>
    </message>
    <message>
        <source>%1&apos;s &quot;size&quot; is not a number of bytes</source>
        <translation>dans %1, &quot;size&quot; n&apos;est pas un nombre d&apos;octets</translation>
    </message>
    <message>
        <source>it is not a JSON object</source>
        <translation>ce n&apos;est pas un objet JSON</translation>
    </message>
    <message>
        <source>the manifest</source>
        <translation>le manifeste</translation>
    </message>
    <message>
        <source>its &quot;version&quot; is not a version</source>
        <translation>la valeur de &quot;version&quot; n&apos;est pas un numéro de version</translation>
    </message>
    <message>
        <source>%1&apos;s &quot;%2&quot; is not a version</source>
        <translation>dans %1, &quot;%2&quot; n&apos;est pas un numéro de version</translation>
    </message>
    <message>
        <source>series %1, version %2 or later</source>
        <translation>la série %1, en version %2 ou ultérieure</translation>
    </message>
    <message>
        <source>series %1</source>
        <translation>la série %1</translation>
    </message>
    <message>
        <source>version %1 or later</source>
        <translation>la version %1 ou ultérieure</translation>
    </message>
    <message>
        <source>Version %1 may only be installed over %2; the modem&apos;s running version is not known.</source>
        <translation>La version %1 ne peut être installée que sur %2 ; la version qu&apos;exécute le modem est inconnue.</translation>
    </message>
    <message>
        <source>Version %1 may only be installed over %2; the modem runs %3.</source>
        <translation>La version %1 ne peut être installée que sur %2 ; le modem exécute la version %3.</translation>
    </message>
    <message>
        <source>Restore Satellite IP Modem Software</source>
        <translation>Restaurer le logiciel du modem IP satellite</translation>
    </message>
    <message>
        <source>Select an old software version to restore:</source>
        <translation>Sélectionnez une ancienne version du logiciel à restaurer :</translation>
    </message>
    <message>
        <source>The modem&apos;s configuration will be reset to defaults.</source>
        <translation>La configuration du modem sera réinitialisée aux valeurs par défaut.</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Changing local address to 192.168.128.101. Wait ...</source>
        <translation>Modification de l&apos;adresse locale en 192.168.128.101. Patientez...</translation>
    </message>
    <message>
        <source>No Local Area network connection found. The PC address was not changed.</source>
        <translation>Aucune connexion au réseau local trouvée. L&apos;adresse du PC n&apos;a pas été modifiée.</translation>
    </message>
    <message>
        <source>The PC address was not changed.</source>
        <translation>L&apos;adresse du PC n&apos;a pas été modifiée.</translation>
    </message>
    <message>
        <source>Restoring DHCP for Local Area Connection. Wait....</source>
        <translation>Rétablissement du DHCP pour la connexion au réseau local. Patientez....</translation>
    </message>
    <message>
        <source>Can&apos;t Get local IP</source>
        <translation>Impossible d&apos;obtenir l&apos;adresse IP locale</translation>
    </message>
    <message>
        <source>Can&apos;t Get new local IP</source>
        <translation>Impossible d&apos;obtenir la nouvelle adresse IP locale</translation>
    </message>
    <message>
        <source>Failure</source>
        <translation>Échec</translation>
    </message>
    <message>
        <source>Downloading Log</source>
        <translation>Téléchargement du journal</translation>
    </message>
    <message>
        <source>Log not downloaded: %1 is from an earlier download.</source>
        <translation>Journal non téléchargé : %1 provient d&apos;un téléchargement antérieur.</translation>
    </message>
    <message>
        <source>Waiting for the modem to come back...</source>
        <translation>En attente du retour en ligne du modem...</translation>
    </message>
    <message>
        <source>Resetting Satellite IP Modem...</source>
        <translation>Redémarrage du modem IP satellite...</translation>
    </message>
    <message>
        <source>Restore stopped: no software version within 30 seconds.</source>
        <translation>Restauration arrêtée : aucune version du logiciel obtenue dans les 30 secondes.</translation>
    </message>
    <message>
        <source>Preparing for Software Restore with version %1 ...</source>
        <translation>Préparation de la restauration du logiciel avec la version %1...</translation>
    </message>
    <message>
        <source>Restoring Satellite IP Modem with version %1 ...</source>
        <translation>Restauration de la version %1 sur le modem IP satellite...</translation>
    </message>
    <message>
        <source>No answer to the prepare command; going on without it.</source>
        <translation>Aucune réponse à la commande de préparation ; l&apos;opération continue sans elle.</translation>
    </message>
    <message>
        <source>Verifying the software stored on the Satellite IP Modem...</source>
        <translation>Vérification du logiciel enregistré sur le modem IP satellite...</translation>
    </message>
    <message>
        <source>The transfer did not arrive whole; sending it again (attempt %1 of %2)...</source>
        <translation>Le transfert n&apos;est pas arrivé complet ; nouvel envoi (tentative %1 sur %2)...</translation>
    </message>
    <message>
        <source>The new software could not be written whole; putting back version %1...</source>
        <translation>Le nouveau logiciel n&apos;a pas pu être écrit en entier ; réinstallation de la version %1...</translation>
    </message>
    <message>
        <source>Upgrade stopped: no software version within 30 seconds.</source>
        <translation>Mise à jour arrêtée : aucune version du logiciel obtenue dans les 30 secondes.</translation>
    </message>
    <message>
        <source>Cannot create a file in %1: %2</source>
        <translation>Impossible de créer un fichier dans %1 : %2</translation>
    </message>
    <message>
        <source>Preparing for Upgrade with version %1 ...</source>
        <translation>Préparation de la mise à jour vers la version %1...</translation>
    </message>
    <message>
        <source>Upgrade refused: the release did not pass its checks.</source>
        <translation>Mise à jour refusée : la version n&apos;a pas réussi les vérifications.</translation>
    </message>
    <message>
        <source>Downloading Satellite IP Modem software to PC...</source>
        <translation>Téléchargement du logiciel du modem IP satellite vers le PC...</translation>
    </message>
    <message>
        <source>another process holds it</source>
        <translation>un autre processus l&apos;utilise</translation>
    </message>
    <message>
        <source>Waiting for the backup folder: %1</source>
        <translation>En attente du dossier de sauvegarde : %1</translation>
    </message>
    <message>
        <source>Reading the modem&apos;s image...</source>
        <translation>Lecture de l&apos;image du modem...</translation>
    </message>
    <message>
        <source>The modem&apos;s file %1 is larger than %2 MiB, the space left on the disk: it was not downloaded.</source>
        <translation>Le fichier %1 du modem dépasse %2 MiB, l&apos;espace libre sur le disque : il n&apos;a pas été téléchargé.</translation>
    </message>
    <message>
        <source>The modem&apos;s file %1 is larger than %2 MiB, more than a modem image or log can be: it was not downloaded.</source>
        <translation>Le fichier %1 du modem dépasse %2 MiB, plus qu&apos;une image ou un journal du modem ne peut faire : il n&apos;a pas été téléchargé.</translation>
    </message>
    <message>
        <source>Cannot write local file %1: %2</source>
        <translation>Impossible d&apos;écrire le fichier local %1 : %2</translation>
    </message>
    <message>
        <source>Cannot open local file %1: %2</source>
        <translation>Impossible d&apos;ouvrir le fichier local %1 : %2</translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation>ce n&apos;est pas un fichier ordinaire</translation>
    </message>
    <message>
        <source>Cannot create local file %1: %2</source>
        <translation>Impossible de créer le fichier local %1 : %2</translation>
    </message>
    <message>
        <source>not a file name</source>
        <translation>ce n&apos;est pas un nom de fichier</translation>
    </message>
    <message>
        <source>Cannot store local file %1: %2</source>
        <translation>Impossible d&apos;enregistrer le fichier local %1 : %2</translation>
    </message>
    <message>
        <source>The operation timed out: %1</source>
        <translation>Le délai de l&apos;opération est dépassé : %1</translation>
    </message>
    <message>
        <source>Cannot read local file %1: %2</source>
        <translation>Impossible de lire le fichier local %1 : %2</translation>
    </message>
    <message>
        <source>red</source>
        <translation>rouge</translation>
    </message>
    <message>
        <source>green</source>
        <translation>vert</translation>
    </message>
    <message>
        <source>FTP Timeout. Checking connection.....</source>
        <translation>Délai FTP dépassé. Vérification de la connexion.....</translation>
    </message>
    <message>
        <source>Timer expired. Checking connection....</source>
        <translation>Délai expiré. Vérification de la connexion....</translation>
    </message>
    <message>
        <source>Connecting .....</source>
        <translation>Connexion en cours.....</translation>
    </message>
    <message>
        <source>Sending PIC reflash command.</source>
        <translation>Envoi de la commande de reprogrammation du PIC.</translation>
    </message>
    <message>
        <source>Command failed.</source>
        <translation>Échec de la commande.</translation>
    </message>
    <message>
        <source>PIC reflashing.... Wait up to 1 minute.   DO NOT INTERRUPT</source>
        <translation>Reprogrammation du PIC.... Patientez jusqu&apos;à 1 minute.   NE PAS INTERROMPRE</translation>
    </message>
    <message>
        <source>PIC reflash completed. Wait for restart...</source>
        <translation>Reprogrammation du PIC terminée. Attendez le redémarrage...</translation>
    </message>
    <message>
        <source>Telnet Error %1</source>
        <translation>Erreur Telnet %1</translation>
    </message>
    <message>
        <source>Telnet connection closed by the modem.</source>
        <translation>Connexion Telnet fermée par le modem.</translation>
    </message>
    <message>
        <source>No telnet prompt from the modem within %1 seconds.</source>
        <translation>Aucune invite Telnet du modem dans les %1 secondes.</translation>
    </message>
    <message>
        <source>No answer to the prepare command within %1 seconds.</source>
        <translation>Aucune réponse à la commande de préparation dans les %1 secondes.</translation>
    </message>
</context>
</TS>
