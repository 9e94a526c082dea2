<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru" sourcelanguage="en">
<context>
    <name>kova</name>
    <message>
        <source>Verify if DNS adresses are good.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Change the addreseses before you click Modify.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;DNS servers :</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Secondary DNS server</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Modify</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Keep Current</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>KOVA Satellite IP Modem Upgrader</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>IP Address:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New software version:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modem software version:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connection to the Satellite IP Modem</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Automatic PIC upgrade</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Upgrade</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upgrade software</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Restore</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Restore original software</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;PIC upgrade</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PIC upgrade without Software Upgrade</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Progress</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Status</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Tools</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No PIC file to upgrade in this version.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> Satellite IP Modem Upgrader

  Upgrades and restores the software of the
  KOVA Satellite IP Modem and its PIC controller,
  and sets the modem&apos;s DNS and LAN addresses.

  Version 2.6 October 15, 2006</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;PicUpgrade</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;DisableAutoPicUpgrade</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Configure Modem &amp;Interface</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Get Software Version</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Set DNS addresses</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Reset Modem</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;About Upgrader...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The upgrade history could not be written.
%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please enter Satellite IP Modem&apos;s IP address.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please enter Satellite IP Modem&apos;s IP Address.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Satellite IP Modem closed the connection. Connection lost.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unable to get Satellite IP Modem&apos;s software version.

Upgrade process can be continued.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unable to get Satellite IP Modem&apos;s software version.

Please check the cable connection.
Remove power and reapply power to the Satellite IP Modem.
Get software version using Tools menu before retrying.
Close and restart Upgrader if error repeats.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>FTP timeout.

Remove power and reapply power to the Satellite IP Modem.
Get software version using Tools menu before retrying.
Close and restart Upgrader if error repeats.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>FTP timeout.

Remove power and reapply power to the Satellite IP Modem.
Get software version using Tools menu before retrying.
Close and restart Upgrader if error repeats.
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>FTP timeout.
Can not connect to the Satellite IP Modem.

Please check the cable connection.
Remove power and reapply power to the Satellite IP Modem.
Get software version using Tools menu before retrying.
Close and restart Upgrader if error repeats.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unable to reset Satellite IP Modem.

Remove power and reapply power to the Satellite IP Modem.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>An unexpected FTP error occurred. Operation cancelled.

Error Code:  %1 : %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>An unexpected FTP error occurred.
Operation cancelled.

Error Code:  %1 : %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Incorrect Username or Password!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Can not connect to Satellite IP Modem. Please check cable connection and retry.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upgrade failed.  Click OK and close the upgrader.  Check connection before retrying upgrade.  Upgrader FTP state = %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>FTP connection was suddenly closed.

Remove power and reapply power to the Satellite IP Modem, then repeat last operation.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upgrade failed. Click OK and close the upgrader.  Check connection before retrying upgrade.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upgrade failed.  Click OK and close the upgrader.  Turn the Satellite IP Modem off and on again before retrying upgrade.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Syslog file downloading failed.  Click OK and close the upgrader.  Check connection before retrying.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reading the modem&apos;s image failed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Can not send command to upgrade the PIC. 
Please check cable connections, remove and reapply power to the modem.
Repeat upgrade process.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Telnet did not respond.
Please terminate any active Telnet connections.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upgrade Completed.
Click OK and wait until we get software version.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PIC Upgrade failed.  Click OK and try again.  If it fail again, call support.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The AT command could not be sent.
Please check cable connections.
Remove and reapply power to the modem.
Use Tool menu to check DNS addresses.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The modem did not answer the AT command.
Please check cable connections.
Remove and reapply power to the modem.
Use Tool menu to check DNS addresses.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The modem closed the AT connection without answering.
Please check cable connections.
Remove and reapply power to the modem.
Use Tool menu to check DNS addresses.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The modem&apos;s answer to the AT command could not be read.
Please check cable connections.
Remove and reapply power to the modem.
Use Tool menu to check DNS addresses.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Can&apos;t verify DNS address.

Check if SIM card is inserted correctly.
Reset Modem and repeat command.
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wrong DNS adress.
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wrong DNS2 adress.
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Data arrival from AT in wrong state %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Release Series conflict detected. Upgrade not possible.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>We can&apos;t load this version because checksum file doesn&apos;t exist.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No old versions are available.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>We can&apos;t restore this version because checksum file doesn&apos;t exist.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unable to find pic.hex in home directory %1.
Please copy PIC file in %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The image %1 is empty: it would leave the modem without software. Nothing was sent to the modem.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The modem&apos;s file %1 came back empty, so its software could not be backed up.
The upgrade stopped before anything was sent to the modem.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The backup of the modem&apos;s software could not be stored:
%1
The upgrade stopped before anything was sent to the modem.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The backup folder was not free within 60 seconds: %1.
The upgrade stopped before anything was sent to the modem.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CreatePipe failed. Error: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Command not found</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The command did not finish within a minute and was ended:
%1

The PC address was not changed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please change your local IP address manually to 192.168.128.101</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wrong local IP address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No data moved between the PC and the modem for 65 seconds.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The new software could not be written whole to the Satellite IP Modem at %1.
Its previous software %2 was put back and read back intact; the modem runs it as before.

Check the connection, then repeat the operation.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The software image on the Satellite IP Modem at %1 is incomplete: the transfer broke, and neither the new nor the previous software could be written whole.

Do not switch the modem off.
Repeat the operation as soon as the modem answers.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The PIC file did not reach the modem intact (%1 read back differs from pic.hex). The PIC was not reflashed.
Repeat the PIC upgrade.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>An upload to the Satellite IP Modem at %1 began at %2 and never ended: the modem&apos;s software image may be incomplete.

Do not switch the modem off.
Click Upgrade to send the image again, or Restore to put an older version back.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The Satellite IP Modem at %1 was not restarted: its software image is incomplete (an upload that began at %2 never ended), and it would not start again.

Upgrade it again, or restore an older version, before restarting it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Another process of this tool is working on the Satellite IP Modem at %1: %2.
Wait until it has finished, then try again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The new software is not installed: %1
Nothing was sent to the modem.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The backup is not restored: %1
Nothing was sent to the modem.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The modem reports version %1 after the upgrade, not %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The modem reports version %1 after the restore, not %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Can not connect to modem using existing PC address %1

Upgrader will set static IP address 192.168.128.101 for yor computer.

                 Do you want to proceed?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: %2 of %3 MiB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: %2 MiB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1, no data for %2 s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1, %2 MiB/s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1, %2 s left</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modem restarting: its version is read again in %1 s.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PIC reflash running for %1 s.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 record waits for the records database, which cannot be reached (%2): they go when it answers.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 records wait for the records database, which cannot be reached (%2): they go when it answers.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The records database answers again: the waiting records are in.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Satellite IP Modem</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You already have the latest version of software.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>If the Satellite IP Modem is not already connected to your PC, disconnect the dial-up or LAN connection and connect the Satellite IP Modem to your PC.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Complete upgrade now</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Complete &amp;upgrade later</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unable to find upgrade program home directory %1.
Please install the upgrade program in this Computer.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unable to find the binary file %1kova_*.bin. 
Or there is more than one binary file in the application&apos;s home directory.
Please make sure there is and there is only one binary file in that directory.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 cannot be used: a double quote or a control character in the name of the binary file or of its folder would break every transfer.
Please rename it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unable to create the backup directory %1.
The modem&apos;s software cannot be backed up before an upgrade.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1
Please replace or remove it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The new software %1 is refused: %2
Nothing will be sent to the modem.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose the firmware folder (the one with kova_*.bin)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The firmware folder %1 could not be remembered for the next start: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is no kova_*.bin in %1.
Please choose the folder that holds the new software image.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>AT Error %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>AT Connecting .....</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Resetting modem. Wait 20 seconds.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connection failed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sending AT command.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Configure Modem Interface</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter IP address of the KOVA Terminal</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Terminal &amp;IP:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Update</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>KOVA Upgrader</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Satellite IP Modem Upgrader</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Can not Connect to AT interface. 
Please check cable connections.
Remove and reapply power to the modem.
Repeat upgrade process.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A DNS address may not contain a double quote, a line break, another control character or a character the modem&apos;s single-byte text cannot hold.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reset done. Wait .....</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Trying to retrieve Satellite IP Modem software version...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check Satellite IP Modem software version.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Software version was retrieved!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ZING Connection failed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connection succeed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Successfully upgraded! Wait...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upgrading Satellite IP Modem with version %1 ...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Uploading PIC software! Wait...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PIC successfully uploaded! Wait...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Deleting config file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Successfully restored! Wait...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Previous software put back. Wait...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Putting back Satellite IP Modem software version %1 ...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Log file doesn&apos;t exist.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Log downloaded</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>signed by %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not signed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>refused</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Restore Satellite IP Modem Software</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select an old software version to restore:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The modem&apos;s configuration will be reset to defaults.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Changing local address to 192.168.128.101. Wait ...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No Local Area network connection found. The PC address was not changed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The PC address was not changed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Restoring DHCP for Local Area Connection. Wait....</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Can&apos;t Get local IP</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Can&apos;t Get new local IP</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failure</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Downloading Log</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Log not downloaded: %1 is from an earlier download.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Waiting for the modem to come back...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Resetting Satellite IP Modem...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Restore stopped: no software version within 30 seconds.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preparing for Software Restore with version %1 ...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Restoring Satellite IP Modem with version %1 ...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No answer to the prepare command; going on without it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Verifying the software stored on the Satellite IP Modem...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The transfer did not arrive whole; sending it again (attempt %1 of %2)...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The new software could not be written whole; putting back version %1...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upgrade stopped: no software version within 30 seconds.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preparing for Upgrade with version %1 ...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upgrade refused: the release did not pass its checks.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Downloading Satellite IP Modem software to PC...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>another process holds it</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Waiting for the backup folder: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reading the modem&apos;s image...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>red</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>green</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>FTP Timeout. Checking connection.....</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Timer expired. Checking connection....</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connecting .....</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sending PIC reflash command.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Command failed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PIC reflashing.... Wait up to 1 minute.   DO NOT INTERRUPT</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PIC reflash completed. Wait for restart...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Telnet Error %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Telnet connection closed by the modem.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No telnet prompt from the modem within %1 seconds.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No answer to the prepare command within %1 seconds.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
