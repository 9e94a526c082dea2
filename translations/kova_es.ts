<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es" sourcelanguage="en">
<context>
    <name>kova</name>
    <message>
        <source>Leave the modem connected and powered: press Enter to repeat the upgrade.</source>
        <translation>Deje el módem conectado y encendido: pulse Intro para repetir la actualización.</translation>
    </message>
    <message>
        <source>Verify if DNS adresses are good.</source>
        <translation>Verifique que las direcciones DNS sean correctas.</translation>
    </message>
    <message>
        <source>Change the addreseses before you click Modify.</source>
        <translation>Cambie las direcciones y haga clic en Modificar.</translation>
    </message>
    <message>
        <source>&amp;DNS servers :</source>
        <translation>Servidor &amp;DNS:</translation>
    </message>
    <message>
        <source>Secondary DNS server</source>
        <translation>Servidor DNS secundario</translation>
    </message>
    <message>
        <source>&amp;Modify</source>
        <translation>&amp;Modificar</translation>
    </message>
    <message>
        <source>&amp;Keep Current</source>
        <translation>&amp;Conservar</translation>
    </message>
    <message>
        <source>KOVA Satellite IP Modem Upgrader</source>
        <translation>Actualizador del módem IP satelital KOVA</translation>
    </message>
    <message>
        <source>IP Address:</source>
        <translation>Dirección IP:</translation>
    </message>
    <message>
        <source>New software version:</source>
        <translation>Nueva versión de software:</translation>
    </message>
    <message>
        <source>Modem software version:</source>
        <translation>Versión actual del módem:</translation>
    </message>
    <message>
        <source>Connection to the Satellite IP Modem</source>
        <translation>Conexión con el módem IP satelital</translation>
    </message>
    <message>
        <source>Automatic PIC upgrade</source>
        <translation>Actualización automática del PIC</translation>
    </message>
    <message>
        <source>&amp;Upgrade</source>
        <translation>Ac&amp;tualizar</translation>
    </message>
    <message>
        <source>Upgrade software</source>
        <translation>Actualizar el software</translation>
    </message>
    <message>
        <source>&amp;Restore</source>
        <translation>&amp;Restaurar</translation>
    </message>
    <message>
        <source>Restore original software</source>
        <translation>Restaurar el software original</translation>
    </message>
    <message>
        <source>&amp;PIC upgrade</source>
        <translation>Actualizar &amp;PIC</translation>
    </message>
    <message>
        <source>PIC upgrade without Software Upgrade</source>
        <translation>Actualizar el PIC sin actualizar el software</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Progreso</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Estado</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Archivo</translation>
    </message>
    <message>
        <source>&amp;Tools</source>
        <translation>&amp;Herramientas</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>Ay&amp;uda</translation>
    </message>
    <message>
        <source>No PIC file to upgrade in this version.</source>
        <translation>Esta versión no incluye ningún archivo PIC para actualizar.</translation>
    </message>
    <message>
        <source> Satellite IP Modem Upgrader

  Upgrades and restores the software of the
  KOVA Satellite IP Modem and its PIC controller,
  and sets the modem&apos;s DNS and LAN addresses.

  Version 2.6 October 15, 2006</source>
        <translation> Actualizador del módem IP satelital

  Actualiza y restaura el software del
  módem IP satelital KOVA y de su controlador PIC,
  y configura las direcciones DNS y LAN del módem.

  Versión 2.6, 15 de octubre de 2006</translation>
    </message>
    <message>
        <source>&amp;PicUpgrade</source>
        <translation>Actualizar &amp;PIC</translation>
    </message>
    <message>
        <source>&amp;DisableAutoPicUpgrade</source>
        <translation>&amp;Desactivar la actualización automática del PIC</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Salir</translation>
    </message>
    <message>
        <source>&amp;Configure Modem &amp;Interface</source>
        <translation>&amp;Configurar interfaz del módem</translation>
    </message>
    <message>
        <source>&amp;Get Software Version</source>
        <translation>&amp;Obtener versión de software</translation>
    </message>
    <message>
        <source>&amp;Set DNS addresses</source>
        <translation>&amp;Establecer direcciones DNS</translation>
    </message>
    <message>
        <source>&amp;Reset Modem</source>
        <translation>&amp;Reiniciar módem</translation>
    </message>
    <message>
        <source>&amp;About Upgrader...</source>
        <translation>&amp;Acerca del actualizador...</translation>
    </message>
    <message>
        <source>The upgrade history could not be written.
%1</source>
        <translation>No se pudo escribir el historial de actualizaciones.
%1</translation>
    </message>
    <message>
        <source>Please enter Satellite IP Modem&apos;s IP address.</source>
        <translation>Escriba la dirección IP del módem IP satelital.</translation>
    </message>
    <message>
        <source>Please enter Satellite IP Modem&apos;s IP Address.</source>
        <translation>Escriba la dirección IP del módem IP satelital.</translation>
    </message>
    <message>
        <source>Satellite IP Modem closed the connection. Connection lost.</source>
        <translation>El módem IP satelital cerró la conexión. Se perdió la conexión.</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Unable to get Satellite IP Modem&apos;s software version.

Upgrade process can be continued.</source>
        <translation>No se pudo obtener la versión de software del módem IP satelital.

El proceso de actualización puede continuar.</translation>
    </message>
    <message>
        <source>Unable to get Satellite IP Modem&apos;s software version.

Please check the cable connection.
Remove power and reapply power to the Satellite IP Modem.
Get software version using Tools menu before retrying.
Close and restart Upgrader if error repeats.</source>
        <translation>No se pudo obtener la versión de software del módem IP satelital.

Compruebe la conexión del cable.
Desconecte y vuelva a conectar la alimentación del módem IP satelital.
Obtenga la versión de software desde el menú Herramientas antes de reintentar.
Cierre y vuelva a abrir el actualizador si el error se repite.</translation>
    </message>
    <message>
        <source>FTP timeout.

Remove power and reapply power to the Satellite IP Modem.
Get software version using Tools menu before retrying.
Close and restart Upgrader if error repeats.</source>
        <translation>Se agotó el tiempo de espera de FTP.

Desconecte y vuelva a conectar la alimentación del módem IP satelital.
Obtenga la versión de software desde el menú Herramientas antes de reintentar.
Cierre y vuelva a abrir el actualizador si el error se repite.</translation>
    </message>
    <message>
        <source>FTP timeout.

Remove power and reapply power to the Satellite IP Modem.
Get software version using Tools menu before retrying.
Close and restart Upgrader if error repeats.
</source>
        <translation>Se agotó el tiempo de espera de FTP.

Desconecte y vuelva a conectar la alimentación del módem IP satelital.
Obtenga la versión de software desde el menú Herramientas antes de reintentar.
Cierre y vuelva a abrir el actualizador si el error se repite.
</translation>
    </message>
    <message>
        <source>FTP timeout.
Can not connect to the Satellite IP Modem.

Please check the cable connection.
Remove power and reapply power to the Satellite IP Modem.
Get software version using Tools menu before retrying.
Close and restart Upgrader if error repeats.</source>
        <translation>Se agotó el tiempo de espera de FTP.
No se puede conectar con el módem IP satelital.

Compruebe la conexión del cable.
Desconecte y vuelva a conectar la alimentación del módem IP satelital.
Obtenga la versión de software desde el menú Herramientas antes de reintentar.
Cierre y vuelva a abrir el actualizador si el error se repite.</translation>
    </message>
    <message>
        <source>Unable to reset Satellite IP Modem.

Remove power and reapply power to the Satellite IP Modem.</source>
        <translation>No se pudo reiniciar el módem IP satelital.

Desconecte y vuelva a conectar la alimentación del módem IP satelital.</translation>
    </message>
    <message>
        <source>An unexpected FTP error occurred. Operation cancelled.

Error Code:  %1 : %2</source>
        <translation>Se produjo un error de FTP inesperado. Operación cancelada.

Código de error: %1: %2</translation>
    </message>
    <message>
        <source>An unexpected FTP error occurred.
Operation cancelled.

Error Code:  %1 : %2</source>
        <translation>Se produjo un error de FTP inesperado.
Operación cancelada.

Código de error: %1: %2</translation>
    </message>
    <message>
        <source>Incorrect Username or Password!</source>
        <translation>¡Nombre de usuario o contraseña incorrectos!</translation>
    </message>
    <message>
        <source>Can not connect to Satellite IP Modem. Please check cable connection and retry.</source>
        <translation>No se puede conectar con el módem IP satelital. Compruebe la conexión del cable y vuelva a intentarlo.</translation>
    </message>
    <message>
        <source>Upgrade failed.  Click OK and close the upgrader.  Check connection before retrying upgrade.  Upgrader FTP state = %1</source>
        <translation>La actualización falló. Haga clic en Aceptar y cierre el actualizador. Compruebe la conexión antes de reintentar la actualización. Estado FTP del actualizador = %1</translation>
    </message>
    <message>
        <source>FTP connection was suddenly closed.

Remove power and reapply power to the Satellite IP Modem, then repeat last operation.</source>
        <translation>La conexión FTP se cerró de forma inesperada.

Desconecte y vuelva a conectar la alimentación del módem IP satelital y, a continuación, repita la última operación.</translation>
    </message>
    <message>
        <source>Upgrade failed. Click OK and close the upgrader.  Check connection before retrying upgrade.</source>
        <translation>La actualización falló. Haga clic en Aceptar y cierre el actualizador. Compruebe la conexión antes de reintentar la actualización.</translation>
    </message>
    <message>
        <source>Upgrade failed.  Click OK and close the upgrader.  Turn the Satellite IP Modem off and on again before retrying upgrade.</source>
        <translation>La actualización falló. Haga clic en Aceptar y cierre el actualizador. Apague y vuelva a encender el módem IP satelital antes de reintentar la actualización.</translation>
    </message>
    <message>
        <source>Syslog file downloading failed.  Click OK and close the upgrader.  Check connection before retrying.</source>
        <translation>Falló la descarga del archivo syslog. Haga clic en Aceptar y cierre el actualizador. Compruebe la conexión antes de reintentar.</translation>
    </message>
    <message>
        <source>Reading the modem&apos;s image failed.</source>
        <translation>No se pudo leer la imagen del módem.</translation>
    </message>
    <message>
        <source>Can not send command to upgrade the PIC. 
Please check cable connections, remove and reapply power to the modem.
Repeat upgrade process.</source>
        <translation>No se puede enviar el comando para actualizar el PIC.
Compruebe las conexiones de los cables y desconecte y vuelva a conectar la alimentación del módem.
Repita el proceso de actualización.</translation>
    </message>
    <message>
        <source>Telnet did not respond.
Please terminate any active Telnet connections.</source>
        <translation>Telnet no respondió.
Cierre todas las conexiones Telnet activas.</translation>
    </message>
    <message>
        <source>Upgrade Completed.
Click OK and wait until we get software version.</source>
        <translation>Actualización completada.
Haga clic en Aceptar y espere hasta que se obtenga la versión de software.</translation>
    </message>
    <message>
        <source>PIC Upgrade failed.  Click OK and try again.  If it fail again, call support.</source>
        <translation>La actualización del PIC falló. Haga clic en Aceptar e inténtelo de nuevo. Si vuelve a fallar, llame al soporte técnico.</translation>
    </message>
    <message>
        <source>The AT command could not be sent.
Please check cable connections.
Remove and reapply power to the modem.
Use Tool menu to check DNS addresses.</source>
        <translation>No se pudo enviar el comando AT.
Compruebe las conexiones de los cables.
Desconecte y vuelva a conectar la alimentación del módem.
Use el menú Herramientas para verificar las direcciones DNS.</translation>
    </message>
    <message>
        <source>The modem did not answer the AT command.
Please check cable connections.
Remove and reapply power to the modem.
Use Tool menu to check DNS addresses.</source>
        <translation>El módem no respondió al comando AT.
Compruebe las conexiones de los cables.
Desconecte y vuelva a conectar la alimentación del módem.
Use el menú Herramientas para verificar las direcciones DNS.</translation>
    </message>
    <message>
        <source>The modem closed the AT connection without answering.
Please check cable connections.
Remove and reapply power to the modem.
Use Tool menu to check DNS addresses.</source>
        <translation>El módem cerró la conexión AT sin responder.
Compruebe las conexiones de los cables.
Desconecte y vuelva a conectar la alimentación del módem.
Use el menú Herramientas para verificar las direcciones DNS.</translation>
    </message>
    <message>
        <source>The modem&apos;s answer to the AT command could not be read.
Please check cable connections.
Remove and reapply power to the modem.
Use Tool menu to check DNS addresses.</source>
        <translation>No se pudo leer la respuesta del módem al comando AT.
Compruebe las conexiones de los cables.
Desconecte y vuelva a conectar la alimentación del módem.
Use el menú Herramientas para verificar las direcciones DNS.</translation>
    </message>
    <message>
        <source>Can&apos;t verify DNS address.

Check if SIM card is inserted correctly.
Reset Modem and repeat command.
</source>
        <translation>No se puede verificar la dirección DNS.

Compruebe que la tarjeta SIM esté insertada correctamente.
Reinicie el módem y repita el comando.
</translation>
    </message>
    <message>
        <source>Wrong DNS adress.
</source>
        <translation>Dirección DNS incorrecta.
</translation>
    </message>
    <message>
        <source>Wrong DNS2 adress.
</source>
        <translation>Dirección DNS2 incorrecta.
</translation>
    </message>
    <message>
        <source>Data arrival from AT in wrong state %1</source>
        <translation>Se recibieron datos de AT en un estado incorrecto: %1</translation>
    </message>
    <message>
        <source>Release Series conflict detected. Upgrade not possible.</source>
        <translation>Se detectó un conflicto de serie de versiones. No es posible actualizar.</translation>
    </message>
    <message>
        <source>We can&apos;t load this version because checksum file doesn&apos;t exist.</source>
        <translation>No se puede cargar esta versión porque no existe el archivo de suma de comprobación.</translation>
    </message>
    <message>
        <source>No old versions are available.</source>
        <translation>No hay versiones anteriores disponibles.</translation>
    </message>
    <message>
        <source>We can&apos;t restore this version because checksum file doesn&apos;t exist.</source>
        <translation>No se puede restaurar esta versión porque no existe el archivo de suma de comprobación.</translation>
    </message>
    <message>
        <source>Unable to find pic.hex in home directory %1.
Please copy PIC file in %1</source>
        <translation>No se encuentra pic.hex en el directorio de la aplicación %1.
Copie el archivo PIC en %1</translation>
    </message>
    <message>
        <source>The image %1 is empty: it would leave the modem without software. Nothing was sent to the modem.</source>
        <translation>La imagen %1 está vacía: dejaría el módem sin software. No se envió nada al módem.</translation>
    </message>
    <message>
        <source>The file %1 cannot be read: %2.
Nothing was sent to the modem.</source>
        <translation>No se puede leer el archivo %1: %2.
No se envió nada al módem.</translation>
    </message>
    <message>
        <source>The modem&apos;s file %1 came back empty, so its software could not be backed up.
The upgrade stopped before anything was sent to the modem.</source>
        <translation>El archivo %1 del módem llegó vacío, por lo que no se pudo hacer una copia de seguridad de su software.
La actualización se detuvo antes de enviar nada al módem.</translation>
    </message>
    <message>
        <source>The backup of the modem&apos;s software could not be stored:
%1
The upgrade stopped before anything was sent to the modem.</source>
        <translation>No se pudo guardar la copia de seguridad del software del módem:
%1
La actualización se detuvo antes de enviar nada al módem.</translation>
    </message>
    <message>
        <source>The backup folder was not free within 60 seconds: %1.
The upgrade stopped before anything was sent to the modem.</source>
        <translation>La carpeta de copias de seguridad no quedó libre en 60 segundos: %1.
La actualización se detuvo antes de enviar nada al módem.</translation>
    </message>
    <message>
        <source>CreatePipe failed. Error: %1</source>
        <translation>Falló CreatePipe. Error: %1</translation>
    </message>
    <message>
        <source>Command not found</source>
        <translation>Comando no encontrado</translation>
    </message>
    <message>
        <source>The command did not finish within a minute and was ended:
%1

The PC address was not changed.</source>
        <translation>El comando no terminó en un minuto y se interrumpió:
%1

No se cambió la dirección del equipo.</translation>
    </message>
    <message>
        <source>Please change your local IP address manually to 192.168.128.101</source>
        <translation>Cambie manualmente su dirección IP local a 192.168.128.101</translation>
    </message>
    <message>
        <source>Wrong local IP address</source>
        <translation>Dirección IP local incorrecta</translation>
    </message>
    <message>
        <source>No data moved between the PC and the modem for 65 seconds.</source>
        <translation>No se transfirieron datos entre el equipo y el módem durante 65 segundos.</translation>
    </message>
    <message>
        <source>The new software could not be written whole to the Satellite IP Modem at %1.
Its previous software %2 was put back and read back intact; the modem runs it as before.

Check the connection, then repeat the operation.</source>
        <translation>No se pudo escribir completo el nuevo software en el módem IP satelital con dirección %1.
Se reinstaló su software anterior, %2, y al releerlo se comprobó que está intacto; el módem funciona con él como antes.

Compruebe la conexión y repita la operación.</translation>
    </message>
    <message>
        <source>The software image on the Satellite IP Modem at %1 is incomplete: the transfer broke, and neither the new nor the previous software could be written whole.

Do not switch the modem off.
Repeat the operation as soon as the modem answers.</source>
        <translation>La imagen de software del módem IP satelital con dirección %1 está incompleta: la transferencia se interrumpió y no se pudo escribir completo ni el software nuevo ni el anterior.

No apague el módem.
Repita la operación en cuanto el módem responda.</translation>
    </message>
    <message>
        <source>The PIC file did not reach the modem intact (%1 read back differs from pic.hex). The PIC was not reflashed.
Repeat the PIC upgrade.</source>
        <translation>El archivo PIC no llegó intacto al módem (el archivo %1 leído del módem no coincide con pic.hex). El PIC no se reprogramó.
Repita la actualización del PIC.</translation>
    </message>
    <message>
        <source>An upload to the Satellite IP Modem at %1 began at %2 and never ended: the modem&apos;s software image may be incomplete.

Do not switch the modem off.
Click Upgrade to send the image again, or Restore to put an older version back.</source>
        <translation>Una carga al módem IP satelital con dirección %1 comenzó el %2 y nunca terminó: la imagen de software del módem puede estar incompleta.

No apague el módem.
Haga clic en Actualizar para enviar de nuevo la imagen, o en Restaurar para volver a instalar una versión anterior.</translation>
    </message>
    <message>
        <source>The Satellite IP Modem at %1 was not restarted: its software image is incomplete (an upload that began at %2 never ended), and it would not start again.

Upgrade it again, or restore an older version, before restarting it.</source>
        <translation>El módem IP satelital con dirección %1 no se reinició: su imagen de software está incompleta (una carga que comenzó el %2 nunca terminó) y no volvería a arrancar.

Actualícelo de nuevo o restaure una versión anterior antes de reiniciarlo.</translation>
    </message>
    <message>
        <source>Another process of this tool is working on the Satellite IP Modem at %1: %2.
Wait until it has finished, then try again.</source>
        <translation>Otro proceso de esta herramienta está trabajando con el módem IP satelital con dirección %1: %2.
Espere a que termine y vuelva a intentarlo.</translation>
    </message>
    <message>
        <source>The new software is not installed: %1
Nothing was sent to the modem.</source>
        <translation>El nuevo software no se instaló: %1
No se envió nada al módem.</translation>
    </message>
    <message>
        <source>The backup is not restored: %1
Nothing was sent to the modem.</source>
        <translation>La copia de seguridad no se restauró: %1
No se envió nada al módem.</translation>
    </message>
    <message>
        <source>The modem reports version %1 after the upgrade, not %2.</source>
        <translation>Después de la actualización, el módem indica la versión %1, no la %2.</translation>
    </message>
    <message>
        <source>The modem reports version %1 after the restore, not %2.</source>
        <translation>Después de la restauración, el módem indica la versión %1, no la %2.</translation>
    </message>
    <message>
        <source>Can not connect to modem using existing PC address %1

Upgrader will set static IP address 192.168.128.101 for yor computer.

                 Do you want to proceed?</source>
        <translation>No se puede conectar con el módem usando la dirección actual del equipo %1

El actualizador asignará la dirección IP estática 192.168.128.101 a su equipo.

                 ¿Desea continuar?</translation>
    </message>
    <message>
        <source>The Satellite IP Modem at %1 did not answer as expected, and its software image is incomplete: an upload that began at %2 never ended.

Do not switch the modem off: it would not start again.
Check the cable connection. As soon as the modem answers, click Upgrade to send the image again, or Restore to put an older version back.</source>
        <translation>El módem IP satelital con dirección %1 no respondió como se esperaba, y su imagen de software está incompleta: una carga que comenzó el %2 nunca terminó.

No apague el módem: no volvería a arrancar.
Compruebe la conexión del cable. En cuanto el módem responda, haga clic en Actualizar para enviar de nuevo la imagen, o en Restaurar para volver a instalar una versión anterior.</translation>
    </message>
    <message>
        <source>%1: %2 of %3 MiB</source>
        <translation>%1: %2 de %3 MiB</translation>
    </message>
    <message>
        <source>%1: %2 MiB</source>
        <translation>%1: %2 MiB</translation>
    </message>
    <message>
        <source>%1, no data for %2 s</source>
        <translation>%1, sin datos desde hace %2 s</translation>
    </message>
    <message>
        <source>%1, %2 MiB/s</source>
        <translation>%1, %2 MiB/s</translation>
    </message>
    <message>
        <source>%1, %2 s left</source>
        <translation>%1, quedan %2 s</translation>
    </message>
    <message>
        <source>Modem restarting: its version is read again in %1 s.</source>
        <translation>Reiniciando el módem: su versión se volverá a leer dentro de %1 s.</translation>
    </message>
    <message>
        <source>PIC reflash running for %1 s.</source>
        <translation>Reprogramación del PIC en curso desde hace %1 s.</translation>
    </message>
    <message>
        <source>%1 record waits for the records database, which cannot be reached (%2): they go when it answers.</source>
        <translation>%1 registro espera a la base de datos de registros, que no está accesible (%2): se enviará cuando responda.</translation>
    </message>
    <message>
        <source>%1 records wait for the records database, which cannot be reached (%2): they go when it answers.</source>
        <translation>%1 registros esperan a la base de datos de registros, que no está accesible (%2): se enviarán cuando responda.</translation>
    </message>
    <message>
        <source>The records database answers again: the waiting records are in.</source>
        <translation>La base de datos de registros vuelve a responder: los registros pendientes ya se guardaron.</translation>
    </message>
    <message>
        <source>Cannot remove %1: %2</source>
        <translation>No se puede eliminar %1: %2</translation>
    </message>
    <message>
        <source>Cannot write %1</source>
        <translation>No se puede escribir %1</translation>
    </message>
    <message>
        <source>there is no folder for settings (HOME is not set)</source>
        <translation>no hay ninguna carpeta para la configuración (la variable HOME no está definida)</translation>
    </message>
    <message>
        <source>its name holds a line break</source>
        <translation>su nombre contiene un salto de línea</translation>
    </message>
    <message>
        <source>it is not an absolute path</source>
        <translation>no es una ruta absoluta</translation>
    </message>
    <message>
        <source>cannot create the folder %1: %2</source>
        <translation>no se puede crear la carpeta %1: %2</translation>
    </message>
    <message>
        <source>cannot write %1: %2</source>
        <translation>no se puede escribir %1: %2</translation>
    </message>
    <message>
        <source>Satellite IP Modem</source>
        <translation>Módem IP satelital</translation>
    </message>
    <message>
        <source>You already have the latest version of software.</source>
        <translation>Ya tiene la versión más reciente del software.</translation>
    </message>
    <message>
        <source>If the Satellite IP Modem is not already connected to your PC, disconnect the dial-up or LAN connection and connect the Satellite IP Modem to your PC.</source>
        <translation>Si el módem IP satelital aún no está conectado a su equipo, desconecte la conexión de acceso telefónico o LAN y conecte el módem IP satelital a su equipo.</translation>
    </message>
    <message>
        <source>&amp;Complete upgrade now</source>
        <translation>&amp;Completar la actualización ahora</translation>
    </message>
    <message>
        <source>Complete &amp;upgrade later</source>
        <translation>Completar la actualización &amp;después</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>Unable to find upgrade program home directory %1.
Please install the upgrade program in this Computer.</source>
        <translation>No se encuentra el directorio del programa de actualización %1.
Instale el programa de actualización en este equipo.</translation>
    </message>
    <message>
        <source>Unable to find the binary file %1kova_*.bin. 
Or there is more than one binary file in the application&apos;s home directory.
Please make sure there is and there is only one binary file in that directory.</source>
        <translation>No se encuentra el archivo binario %1kova_*.bin,
o hay más de un archivo binario en el directorio de la aplicación.
Asegúrese de que en ese directorio haya un único archivo binario.</translation>
    </message>
    <message>
        <source>%1 cannot be used: a double quote or a control character in the name of the binary file or of its folder would break every transfer.
Please rename it.</source>
        <translation>%1 no se puede usar: unas comillas dobles o un carácter de control en el nombre del archivo binario o de su carpeta harían fallar todas las transferencias.
Cámbiele el nombre.</translation>
    </message>
    <message>
        <source>Unable to create the backup directory %1.
The modem&apos;s software cannot be backed up before an upgrade.</source>
        <translation>No se puede crear el directorio de copias de seguridad %1.
No se podrá hacer una copia de seguridad del software del módem antes de una actualización.</translation>
    </message>
    <message>
        <source>%1
Please replace or remove it.</source>
        <translation>%1
Reemplácelo o elimínelo.</translation>
    </message>
    <message>
        <source>The new software %1 is refused: %2
Nothing will be sent to the modem.</source>
        <translation>Se rechazó el nuevo software %1: %2
No se enviará nada al módem.</translation>
    </message>
    <message>
        <source>Choose the firmware folder (the one with kova_*.bin)</source>
        <translation>Elija la carpeta del firmware (la que contiene kova_*.bin)</translation>
    </message>
    <message>
        <source>The firmware folder %1 could not be remembered for the next start: %2.</source>
        <translation>No se pudo guardar la carpeta del firmware %1 para el próximo inicio: %2.</translation>
    </message>
    <message>
        <source>There is no kova_*.bin in %1.
Please choose the folder that holds the new software image.</source>
        <translation>No hay ningún kova_*.bin en %1.
Elija la carpeta que contiene la nueva imagen de software.</translation>
    </message>
    <message>
        <source>AT Error %1</source>
        <translation>Error de AT %1</translation>
    </message>
    <message>
        <source>AT Connecting .....</source>
        <translation>Conectando con AT .....</translation>
    </message>
    <message>
        <source>Resetting modem. Wait 20 seconds.</source>
        <translation>Reiniciando el módem. Espere 20 segundos.</translation>
    </message>
    <message>
        <source>Connection failed.</source>
        <translation>Falló la conexión.</translation>
    </message>
    <message>
        <source>Sending AT command.</source>
        <translation>Enviando comando AT.</translation>
    </message>
    <message>
        <source>Configure Modem Interface</source>
        <translation>Configurar interfaz del módem</translation>
    </message>
    <message>
        <source>Enter IP address of the KOVA Terminal</source>
        <translation>Escriba la dirección IP del terminal KOVA</translation>
    </message>
    <message>
        <source>Terminal &amp;IP:</source>
        <translation>Dirección &amp;IP:</translation>
    </message>
    <message>
        <source>.</source>
        <translation>.</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Cerrar</translation>
    </message>
    <message>
        <source>&amp;Update</source>
        <translation>&amp;Actualizar</translation>
    </message>
    <message>
        <source>system error %1</source>
        <translation>error del sistema %1</translation>
    </message>
    <message>
        <source>Cannot store %1: %2</source>
        <translation>No se puede guardar %1: %2</translation>
    </message>
    <message>
        <source>Cannot open %1: %2</source>
        <translation>No se puede abrir %1: %2</translation>
    </message>
    <message>
        <source>Cannot sync %1: %2</source>
        <translation>No se puede sincronizar %1 con el disco: %2</translation>
    </message>
    <message>
        <source>Cannot lock %1: %2</source>
        <translation>No se puede bloquear %1: %2</translation>
    </message>
    <message>
        <source>it is too long for a minisign public key</source>
        <translation>es demasiado larga para ser una clave pública minisign</translation>
    </message>
    <message>
        <source>it is not a minisign public key (a comment line and one line of base64)</source>
        <translation>no es una clave pública minisign (una línea de comentario y una línea en base64)</translation>
    </message>
    <message>
        <source>its key line is not the base64 of a minisign public key</source>
        <translation>su línea de clave no es una clave pública minisign en base64</translation>
    </message>
    <message>
        <source>it is not an Ed25519 key</source>
        <translation>no es una clave Ed25519</translation>
    </message>
    <message>
        <source>it is too long for a minisign signature</source>
        <translation>es demasiado larga para ser una firma minisign</translation>
    </message>
    <message>
        <source>it is not a minisign signature (four lines: a comment, the signature, &quot;trusted comment: &quot; and the comment&apos;s signature)</source>
        <translation>no es una firma minisign (cuatro líneas: un comentario, la firma, &quot;trusted comment: &quot; y la firma del comentario)</translation>
    </message>
    <message>
        <source>its signature line is not the base64 of a minisign signature</source>
        <translation>su línea de firma no es una firma minisign en base64</translation>
    </message>
    <message>
        <source>its signature is neither of minisign&apos;s Ed25519 forms</source>
        <translation>su firma no tiene ninguna de las dos formas Ed25519 de minisign</translation>
    </message>
    <message>
        <source>its trusted comment&apos;s signature is not the base64 of a signature</source>
        <translation>la firma de su comentario de confianza no es una firma en base64</translation>
    </message>
    <message>
        <source>its trusted comment holds a control character</source>
        <translation>su comentario de confianza contiene un carácter de control</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>no es un archivo normal</translation>
    </message>
    <message>
        <source>KOVA Upgrader</source>
        <translation>KOVA Upgrader</translation>
    </message>
    <message>
        <source>Satellite IP Modem Upgrader</source>
        <translation>Actualizador del módem IP satelital</translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation>Desconocida</translation>
    </message>
    <message>
        <source>Can not Connect to AT interface. 
Please check cable connections.
Remove and reapply power to the modem.
Repeat upgrade process.</source>
        <translation>No se puede conectar con la interfaz AT.
Compruebe las conexiones de los cables.
Desconecte y vuelva a conectar la alimentación del módem.
Repita el proceso de actualización.</translation>
    </message>
    <message>
        <source>A DNS address may not contain a double quote, a line break, another control character or a character the modem&apos;s single-byte text cannot hold.</source>
        <translation>Una dirección DNS no puede contener comillas dobles, saltos de línea, otros caracteres de control ni caracteres que el texto de un byte por carácter del módem no pueda representar.</translation>
    </message>
    <message>
        <source>The trusted key %1 cannot be used: %2.</source>
        <translation>No se puede usar la clave de confianza %1: %2.</translation>
    </message>
    <message>
        <source>The list of revoked keys %1 cannot be read: %2.</source>
        <translation>No se puede leer la lista de claves revocadas %1: %2.</translation>
    </message>
    <message>
        <source>The list of revoked keys %1 cannot be used: line %2 is not a key ID (hex digits, as minisign prints it).</source>
        <translation>No se puede usar la lista de claves revocadas %1: la línea %2 no es un identificador de clave (dígitos hexadecimales, tal como los muestra minisign).</translation>
    </message>
    <message>
        <source>it is larger than %1 bytes</source>
        <translation>ocupa más de %1 bytes</translation>
    </message>
    <message>
        <source>The trusted-key folder %1 cannot be read: %2.</source>
        <translation>No se puede leer la carpeta de claves de confianza %1: %2.</translation>
    </message>
    <message>
        <source>Cannot use the history file %1: %2</source>
        <translation>No se puede usar el archivo de historial %1: %2</translation>
    </message>
    <message>
        <source>Cannot open the history file %1: %2</source>
        <translation>No se puede abrir el archivo de historial %1: %2</translation>
    </message>
    <message>
        <source>Cannot write the history file %1: %2</source>
        <translation>No se puede escribir el archivo de historial %1: %2</translation>
    </message>
    <message>
        <source>Cannot write the history file %1: only %2 of %3 bytes were written</source>
        <translation>No se puede escribir el archivo de historial %1: solo se escribieron %2 de %3 bytes</translation>
    </message>
    <message>
        <source>Cannot save the history file to disk %1: %2</source>
        <translation>No se puede guardar en el disco el archivo de historial %1: %2</translation>
    </message>
    <message>
        <source>Reset done. Wait .....</source>
        <translation>Reinicio realizado. Espere .....</translation>
    </message>
    <message>
        <source>Trying to retrieve Satellite IP Modem software version...</source>
        <translation>Intentando obtener la versión de software del módem IP satelital...</translation>
    </message>
    <message>
        <source>Check Satellite IP Modem software version.</source>
        <translation>Compruebe la versión de software del módem IP satelital.</translation>
    </message>
    <message>
        <source>Software version was retrieved!</source>
        <translation>¡Versión de software obtenida!</translation>
    </message>
    <message>
        <source>ZING Connection failed.</source>
        <translation>Falló la conexión ZING.</translation>
    </message>
    <message>
        <source>Connection succeed.</source>
        <translation>Conexión establecida.</translation>
    </message>
    <message>
        <source>the backup %1 was not taken by this tool: the history holds no record of it, and with a trusted key only recorded backups are restored.</source>
        <translation>la copia de seguridad %1 no fue creada por esta herramienta: el historial no tiene ningún registro de ella y, con una clave de confianza, solo se restauran las copias de seguridad registradas.</translation>
    </message>
    <message>
        <source>the SHA-256 of %1 is %2; when it was kept on %3 it was %4.</source>
        <translation>el SHA-256 de %1 es %2; cuando se guardó, el %3, era %4.</translation>
    </message>
    <message>
        <source>Successfully upgraded! Wait...</source>
        <translation>¡Actualización correcta! Espere...</translation>
    </message>
    <message>
        <source>Upgrading Satellite IP Modem with version %1 ...</source>
        <translation>Actualizando el módem IP satelital a la versión %1...</translation>
    </message>
    <message>
        <source>Uploading PIC software! Wait...</source>
        <translation>Cargando el software del PIC. Espere...</translation>
    </message>
    <message>
        <source>PIC successfully uploaded! Wait...</source>
        <translation>¡Software del PIC cargado correctamente! Espere...</translation>
    </message>
    <message>
        <source>Deleting config file</source>
        <translation>Eliminando el archivo de configuración</translation>
    </message>
    <message>
        <source>Successfully restored! Wait...</source>
        <translation>¡Restauración correcta! Espere...</translation>
    </message>
    <message>
        <source>Previous software put back. Wait...</source>
        <translation>Software anterior reinstalado. Espere...</translation>
    </message>
    <message>
        <source>Putting back Satellite IP Modem software version %1 ...</source>
        <translation>Reinstalando la versión de software %1 en el módem IP satelital...</translation>
    </message>
    <message>
        <source>Log file doesn&apos;t exist.</source>
        <translation>El archivo de registro no existe.</translation>
    </message>
    <message>
        <source>Log downloaded</source>
        <translation>Registro descargado</translation>
    </message>
    <message>
        <source>%1 lies beside the image but is not named in the manifest.</source>
        <translation>%1 está junto a la imagen, pero el manifiesto no lo menciona.</translation>
    </message>
    <message>
        <source>The manifest names %1 where %2 was expected.</source>
        <translation>El manifiesto indica %1 donde se esperaba %2.</translation>
    </message>
    <message>
        <source>The manifest names %1, which is missing.</source>
        <translation>El manifiesto indica %1, pero ese archivo no existe.</translation>
    </message>
    <message>
        <source>%1 has %2 bytes; the manifest says %3.</source>
        <translation>%1 tiene %2 bytes; el manifiesto indica %3.</translation>
    </message>
    <message>
        <source>%1 cannot be read.</source>
        <translation>No se puede leer %1.</translation>
    </message>
    <message>
        <source>The SHA-256 of %1 is %2; the manifest says %3.</source>
        <translation>El SHA-256 de %1 es %2; el manifiesto indica %3.</translation>
    </message>
    <message>
        <source>The release has no usable manifest %1 (%2): with a trusted key, only a signed release is installed.</source>
        <translation>La versión no tiene un manifiesto %1 utilizable (%2): con una clave de confianza, solo se instala una versión firmada.</translation>
    </message>
    <message>
        <source>The manifest&apos;s signature %1 cannot be read (%2): with a trusted key, only a signed release is installed.</source>
        <translation>No se puede leer la firma del manifiesto %1 (%2): con una clave de confianza, solo se instala una versión firmada.</translation>
    </message>
    <message>
        <source>The signature %1 is damaged: %2.</source>
        <translation>La firma %1 está dañada: %2.</translation>
    </message>
    <message>
        <source>The release is signed with the key %1, which is not trusted.</source>
        <translation>La versión está firmada con la clave %1, que no es de confianza.</translation>
    </message>
    <message>
        <source>The release is signed with the key %1, which is revoked.</source>
        <translation>La versión está firmada con la clave %1, que está revocada.</translation>
    </message>
    <message>
        <source>The signature %1 does not match %2: the manifest or its signature was changed.</source>
        <translation>La firma %1 no corresponde a %2: se modificó el manifiesto o su firma.</translation>
    </message>
    <message>
        <source>The trusted comment of %1 does not match its signature: it was changed.</source>
        <translation>El comentario de confianza de %1 no corresponde a su firma: se modificó.</translation>
    </message>
    <message>
        <source>The manifest %1 cannot be used: %2.</source>
        <translation>No se puede usar el manifiesto %1: %2.</translation>
    </message>
    <message>
        <source>The manifest is for version %1, the image is %2.</source>
        <translation>El manifiesto es para la versión %1 y la imagen es la %2.</translation>
    </message>
    <message>
        <source>signed by %1</source>
        <translation>firmado por %1</translation>
    </message>
    <message>
        <source>not signed</source>
        <translation>sin firma</translation>
    </message>
    <message>
        <source>refused</source>
        <translation>rechazado</translation>
    </message>
    <message>
        <source>%1 holds &quot;%2&quot;, which this tool does not know</source>
        <translation>%1 contiene &quot;%2&quot;, que esta herramienta no reconoce</translation>
    </message>
    <message>
        <source>%1 has no &quot;%2&quot;</source>
        <translation>%1 no tiene &quot;%2&quot;</translation>
    </message>
    <message>
        <source>%1&apos;s &quot;%2&quot; is not a text</source>
        <translation>en %1, &quot;%2&quot; no es un texto</translation>
    </message>
    <message>
        <source>%1 is not an object</source>
        <translation>%1 no es un objeto</translation>
    </message>
    <message>
        <source>%1&apos;s &quot;sha256&quot; is not 64 lower-case hex digits</source>
        <translation>en %1, &quot;sha256&quot; no tiene 64 dígitos hexadecimales en minúscula</translation>
    </message>
    <message>
        <source>%1&apos;s &quot;name&quot; is not a file name</source>
        <translation>en %1, &quot;name&quot; no es un nombre de archivo</translation>
    </message>
    <message>
        <source>%1&apos;s &quot;size&quot; is not a number of bytes</source>
        <translation>en %1, &quot;size&quot; no es un número de bytes</translation>
    </message>
    <message>
        <source>it is not a JSON object</source>
        <translation>no es un objeto JSON</translation>
    </message>
    <message>
        <source>the manifest</source>
        <translation>el manifiesto</translation>
    </message>
    <message>
        <source>its &quot;version&quot; is not a version</source>
        <translation>su campo &quot;version&quot; no contiene una versión válida</translation>
    </message>
    <message>
        <source>%1&apos;s &quot;%2&quot; is not a version</source>
        <translation>en %1, &quot;%2&quot; no es una versión válida</translation>
    </message>
    <message>
        <source>series %1, version %2 or later</source>
        <translation>la serie %1, versión %2 o posterior</translation>
    </message>
    <message>
        <source>series %1</source>
        <translation>la serie %1</translation>
    </message>
    <message>
        <source>version %1 or later</source>
        <translation>la versión %1 o posterior</translation>
    </message>
    <message>
        <source>Version %1 may only be installed over %2; the modem&apos;s running version is not known.</source>
        <translation>La versión %1 solo se puede instalar sobre %2; no se conoce la versión que ejecuta el módem.</translation>
    </message>
    <message>
        <source>Version %1 may only be installed over %2; the modem runs %3.</source>
        <translation>La versión %1 solo se puede instalar sobre %2; el módem ejecuta la %3.</translation>
    </message>
    <message>
        <source>Restore Satellite IP Modem Software</source>
        <translation>Restaurar el software del módem IP satelital</translation>
    </message>
    <message>
        <source>Select an old software version to restore:</source>
        <translation>Seleccione la versión de software anterior que desea restaurar:</translation>
    </message>
    <message>
        <source>The modem&apos;s configuration will be reset to defaults.</source>
        <translation>Se restablecerá la configuración predeterminada del módem.</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Changing local address to 192.168.128.101. Wait ...</source>
        <translation>Cambiando la dirección local a 192.168.128.101. Espere...</translation>
    </message>
    <message>
        <source>No Local Area network connection found. The PC address was not changed.</source>
        <translation>No se encontró ninguna conexión de área local. No se cambió la dirección del equipo.</translation>
    </message>
    <message>
        <source>The PC address was not changed.</source>
        <translation>No se cambió la dirección del equipo.</translation>
    </message>
    <message>
        <source>Restoring DHCP for Local Area Connection. Wait....</source>
        <translation>Restableciendo DHCP en la conexión de área local. Espere....</translation>
    </message>
    <message>
        <source>Can&apos;t Get local IP</source>
        <translation>No se puede obtener la IP local</translation>
    </message>
    <message>
        <source>Can&apos;t Get new local IP</source>
        <translation>No se puede obtener la nueva IP local</translation>
    </message>
    <message>
        <source>Failure</source>
        <translation>Fallo</translation>
    </message>
    <message>
        <source>Downloading Log</source>
        <translation>Descargando el registro</translation>
    </message>
    <message>
        <source>Log not downloaded: %1 is from an earlier download.</source>
        <translation>Registro no descargado: %1 es de una descarga anterior.</translation>
    </message>
    <message>
        <source>Waiting for the modem to come back...</source>
        <translation>Esperando a que el módem vuelva a responder...</translation>
    </message>
    <message>
        <source>Resetting Satellite IP Modem...</source>
        <translation>Reiniciando el módem IP satelital...</translation>
    </message>
    <message>
        <source>Restore stopped: no software version within 30 seconds.</source>
        <translation>Restauración detenida: no se obtuvo la versión de software en 30 segundos.</translation>
    </message>
    <message>
        <source>Preparing for Software Restore with version %1 ...</source>
        <translation>Preparando la restauración del software con la versión %1...</translation>
    </message>
    <message>
        <source>Restoring Satellite IP Modem with version %1 ...</source>
        <translation>Restaurando el módem IP satelital con la versión %1...</translation>
    </message>
    <message>
        <source>No answer to the prepare command; going on without it.</source>
        <translation>No hubo respuesta al comando de preparación; se continúa sin ella.</translation>
    </message>
    <message>
        <source>Verifying the software stored on the Satellite IP Modem...</source>
        <translation>Verificando el software almacenado en el módem IP satelital...</translation>
    </message>
    <message>
        <source>The transfer did not arrive whole; sending it again (attempt %1 of %2)...</source>
        <translation>La transferencia no llegó completa; enviándola de nuevo (intento %1 de %2)...</translation>
    </message>
    <message>
        <source>The new software could not be written whole; putting back version %1...</source>
        <translation>No se pudo escribir completo el nuevo software; reinstalando la versión %1...</translation>
    </message>
    <message>
        <source>Upgrade stopped: no software version within 30 seconds.</source>
        <translation>Actualización detenida: no se obtuvo la versión de software en 30 segundos.</translation>
    </message>
    <message>
        <source>Cannot create a file in %1: %2</source>
        <translation>No se puede crear un archivo en %1: %2</translation>
    </message>
    <message>
        <source>Preparing for Upgrade with version %1 ...</source>
        <translation>Preparando la actualización a la versión %1...</translation>
    </message>
    <message>
        <source>Upgrade refused: the release did not pass its checks.</source>
        <translation>Actualización rechazada: la versión no superó las comprobaciones.</translation>
    </message>
    <message>
        <source>Downloading Satellite IP Modem software to PC...</source>
        <translation>Descargando el software del módem IP satelital al equipo...</translation>
    </message>
    <message>
        <source>another process holds it</source>
        <translation>otro proceso la está usando</translation>
    </message>
    <message>
        <source>Waiting for the backup folder: %1</source>
        <translation>Esperando la carpeta de copias de seguridad: %1</translation>
    </message>
    <message>
        <source>Reading the modem&apos;s image...</source>
        <translation>Leyendo la imagen del módem...</translation>
    </message>
    <message>
        <source>The modem&apos;s file %1 is larger than %2 MiB, the space left on the disk: it was not downloaded.</source>
        <translation>El archivo %1 del módem ocupa más de %2 MiB, el espacio libre en el disco: no se descargó.</translation>
    </message>
    <message>
        <source>The modem&apos;s file %1 is larger than %2 MiB, more than a modem image or log can be: it was not downloaded.</source>
        <translation>El archivo %1 del módem ocupa más de %2 MiB, más de lo que puede ocupar una imagen o un registro del módem: no se descargó.</translation>
    </message>
    <message>
        <source>Cannot write local file %1: %2</source>
        <translation>No se puede escribir el archivo local %1: %2</translation>
    </message>
    <message>
        <source>Cannot open local file %1: %2</source>
        <translation>No se puede abrir el archivo local %1: %2</translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation>no es un archivo normal</translation>
    </message>
    <message>
        <source>Cannot create local file %1: %2</source>
        <translation>No se puede crear el archivo local %1: %2</translation>
    </message>
    <message>
        <source>not a file name</source>
        <translation>no es un nombre de archivo</translation>
    </message>
    <message>
        <source>Cannot store local file %1: %2</source>
        <translation>No se puede guardar el archivo local %1: %2</translation>
    </message>
    <message>
        <source>The operation timed out: %1</source>
        <translation>Se agotó el tiempo de la operación: %1</translation>
    </message>
    <message>
        <source>Cannot read local file %1: %2</source>
        <translation>No se puede leer el archivo local %1: %2</translation>
    </message>
    <message>
        <source>red</source>
        <translation>rojo</translation>
    </message>
    <message>
        <source>green</source>
        <translation>verde</translation>
    </message>
    <message>
        <source>FTP Timeout. Checking connection.....</source>
        <translation>Tiempo de espera de FTP agotado. Comprobando la conexión.....</translation>
    </message>
    <message>
        <source>Timer expired. Checking connection....</source>
        <translation>Temporizador vencido. Comprobando la conexión....</translation>
    </message>
    <message>
        <source>Connecting .....</source>
        <translation>Conectando .....</translation>
    </message>
    <message>
        <source>Sending PIC reflash command.</source>
        <translation>Enviando el comando de reprogramación del PIC.</translation>
    </message>
    <message>
        <source>Command failed.</source>
        <translation>Falló el comando.</translation>
    </message>
    <message>
        <source>PIC reflashing.... Wait up to 1 minute.   DO NOT INTERRUPT</source>
        <translation>Reprogramando el PIC.... Espere hasta 1 minuto.   NO INTERRUMPA</translation>
    </message>
    <message>
        <source>PIC reflash completed. Wait for restart...</source>
        <translation>Reprogramación del PIC completada. Espere el reinicio...</translation>
    </message>
    <message>
        <source>Telnet Error %1</source>
        <translation>Error de Telnet %1</translation>
    </message>
    <message>
        <source>Telnet connection closed by the modem.</source>
        <translation>El módem cerró la conexión Telnet.</translation>
    </message>
    <message>
        <source>No telnet prompt from the modem within %1 seconds.</source>
        <translation>El módem no mostró el indicador de Telnet en %1 segundos.</translation>
    </message>
    <message>
        <source>No answer to the prepare command within %1 seconds.</source>
        <translation>No hubo respuesta al comando de preparación en %1 segundos.</translation>
    </message>
</context>
</TS>
