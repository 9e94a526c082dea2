<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru" sourcelanguage="en">
<context>
    <name>kova</name>
    <message>
        <source>Leave the modem connected and powered: press Enter to repeat the upgrade.</source>
        <translation>Оставьте модем подключённым и включённым: нажмите Enter, чтобы повторить обновление.</translation>
    </message>
    <message>
        <source>Verify if DNS adresses are good.</source>
        <translation>Проверьте правильность адресов DNS.</translation>
    </message>
    <message>
        <source>Change the addreseses before you click Modify.</source>
        <translation>Измените адреса, прежде чем нажать «Изменить».</translation>
    </message>
    <message>
        <source>&amp;DNS servers :</source>
        <translation>Серверы &amp;DNS:</translation>
    </message>
    <message>
        <source>Secondary DNS server</source>
        <translation>Дополнительный сервер DNS</translation>
    </message>
    <message>
        <source>&amp;Modify</source>
        <translation>&amp;Изменить</translation>
    </message>
    <message>
        <source>&amp;Keep Current</source>
        <translation>&amp;Оставить текущие</translation>
    </message>
    <message>
        <source>KOVA Satellite IP Modem Upgrader</source>
        <translation>Программа обновления спутникового IP-модема KOVA</translation>
    </message>
    <message>
        <source>IP Address:</source>
        <translation>IP-адрес:</translation>
    </message>
    <message>
        <source>New software version:</source>
        <translation>Новая версия ПО:</translation>
    </message>
    <message>
        <source>Modem software version:</source>
        <translation>Версия ПО модема:</translation>
    </message>
    <message>
        <source>Connection to the Satellite IP Modem</source>
        <translation>Связь со спутниковым IP-модемом</translation>
    </message>
    <message>
        <source>Automatic PIC upgrade</source>
        <translation>Автоматическое обновление PIC</translation>
    </message>
    <message>
        <source>&amp;Upgrade</source>
        <translation>&amp;Обновить</translation>
    </message>
    <message>
        <source>Upgrade software</source>
        <translation>Обновить ПО</translation>
    </message>
    <message>
        <source>&amp;Restore</source>
        <translation>&amp;Восстановить</translation>
    </message>
    <message>
        <source>Restore original software</source>
        <translation>Восстановить исходное ПО</translation>
    </message>
    <message>
        <source>&amp;PIC upgrade</source>
        <translation>Обновить &amp;PIC</translation>
    </message>
    <message>
        <source>PIC upgrade without Software Upgrade</source>
        <translation>Обновление PIC без обновления ПО</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Ход выполнения</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Состояние</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Файл</translation>
    </message>
    <message>
        <source>&amp;Tools</source>
        <translation>С&amp;ервис</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Справка</translation>
    </message>
    <message>
        <source>No PIC file to upgrade in this version.</source>
        <translation>В этой версии нет файла PIC для обновления.</translation>
    </message>
    <message>
        <source> Satellite IP Modem Upgrader

  Upgrades and restores the software of the
  KOVA Satellite IP Modem and its PIC controller,
  and sets the modem&apos;s DNS and LAN addresses.

  Version 2.6 October 15, 2006</source>
        <translation> Программа обновления спутникового IP-модема

  Обновляет и восстанавливает ПО
  спутникового IP-модема KOVA и его контроллера PIC,
  а также задаёт адреса DNS и LAN модема.

  Версия 2.6 от 15 октября 2006 г.</translation>
    </message>
    <message>
        <source>&amp;PicUpgrade</source>
        <translation>Обновить &amp;PIC</translation>
    </message>
    <message>
        <source>&amp;DisableAutoPicUpgrade</source>
        <translation>О&amp;тключить автообновление PIC</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>В&amp;ыход</translation>
    </message>
    <message>
        <source>&amp;Configure Modem &amp;Interface</source>
        <translation>&amp;Настроить интерфейс модема</translation>
    </message>
    <message>
        <source>&amp;Get Software Version</source>
        <translation>&amp;Запросить версию ПО</translation>
    </message>
    <message>
        <source>&amp;Set DNS addresses</source>
        <translation>Задать адреса &amp;DNS</translation>
    </message>
    <message>
        <source>&amp;Reset Modem</source>
        <translation>&amp;Перезагрузить модем</translation>
    </message>
    <message>
        <source>&amp;About Upgrader...</source>
        <translation>&amp;О программе...</translation>
    </message>
    <message>
        <source>The upgrade history could not be written.
%1</source>
        <translation>Не удалось записать журнал обновлений.
%1</translation>
    </message>
    <message>
        <source>Please enter Satellite IP Modem&apos;s IP address.</source>
        <translation>Введите IP-адрес спутникового IP-модема.</translation>
    </message>
    <message>
        <source>Please enter Satellite IP Modem&apos;s IP Address.</source>
        <translation>Введите IP-адрес спутникового IP-модема.</translation>
    </message>
    <message>
        <source>Satellite IP Modem closed the connection. Connection lost.</source>
        <translation>Спутниковый IP-модем закрыл соединение. Связь потеряна.</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Ошибка</translation>
    </message>
    <message>
        <source>Unable to get Satellite IP Modem&apos;s software version.

Upgrade process can be continued.</source>
        <translation>Не удалось получить версию ПО спутникового IP-модема.

Процесс обновления можно продолжить.</translation>
    </message>
    <message>
        <source>Unable to get Satellite IP Modem&apos;s software version.

Please check the cable connection.
Remove power and reapply power to the Satellite IP Modem.
Get software version using Tools menu before retrying.
Close and restart Upgrader if error repeats.</source>
        <translation>Не удалось получить версию ПО спутникового IP-модема.

Проверьте подключение кабеля.
Отключите и снова включите питание спутникового IP-модема.
Перед повторной попыткой запросите версию ПО через меню «Сервис».
Если ошибка повторится, закройте и снова запустите программу обновления.</translation>
    </message>
    <message>
        <source>FTP timeout.

Remove power and reapply power to the Satellite IP Modem.
Get software version using Tools menu before retrying.
Close and restart Upgrader if error repeats.</source>
        <translation>Тайм-аут FTP.

Отключите и снова включите питание спутникового IP-модема.
Перед повторной попыткой запросите версию ПО через меню «Сервис».
Если ошибка повторится, закройте и снова запустите программу обновления.</translation>
    </message>
    <message>
        <source>FTP timeout.

Remove power and reapply power to the Satellite IP Modem.
Get software version using Tools menu before retrying.
Close and restart Upgrader if error repeats.
</source>
        <translation>Тайм-аут FTP.

Отключите и снова включите питание спутникового IP-модема.
Перед повторной попыткой запросите версию ПО через меню «Сервис».
Если ошибка повторится, закройте и снова запустите программу обновления.
</translation>
    </message>
    <message>
        <source>FTP timeout.
Can not connect to the Satellite IP Modem.

Please check the cable connection.
Remove power and reapply power to the Satellite IP Modem.
Get software version using Tools menu before retrying.
Close and restart Upgrader if error repeats.</source>
        <translation>Тайм-аут FTP.
Не удаётся подключиться к спутниковому IP-модему.

Проверьте подключение кабеля.
Отключите и снова включите питание спутникового IP-модема.
Перед повторной попыткой запросите версию ПО через меню «Сервис».
Если ошибка повторится, закройте и снова запустите программу обновления.</translation>
    </message>
    <message>
        <source>Unable to reset Satellite IP Modem.

Remove power and reapply power to the Satellite IP Modem.</source>
        <translation>Не удалось перезагрузить спутниковый IP-модем.

Отключите и снова включите питание спутникового IP-модема.</translation>
    </message>
    <message>
        <source>An unexpected FTP error occurred. Operation cancelled.

Error Code:  %1 : %2</source>
        <translation>Непредвиденная ошибка FTP. Операция отменена.

Код ошибки: %1 : %2</translation>
    </message>
    <message>
        <source>An unexpected FTP error occurred.
Operation cancelled.

Error Code:  %1 : %2</source>
        <translation>Непредвиденная ошибка FTP.
Операция отменена.

Код ошибки: %1 : %2</translation>
    </message>
    <message>
        <source>Incorrect Username or Password!</source>
        <translation>Неверное имя пользователя или пароль!</translation>
    </message>
    <message>
        <source>Can not connect to Satellite IP Modem. Please check cable connection and retry.</source>
        <translation>Не удаётся подключиться к спутниковому IP-модему. Проверьте подключение кабеля и повторите попытку.</translation>
    </message>
    <message>
        <source>Upgrade failed.  Click OK and close the upgrader.  Check connection before retrying upgrade.  Upgrader FTP state = %1</source>
        <translation>Сбой обновления. Нажмите «OK» и закройте программу обновления. Перед повторным обновлением проверьте подключение. Состояние FTP программы обновления = %1</translation>
    </message>
    <message>
        <source>FTP connection was suddenly closed.

Remove power and reapply power to the Satellite IP Modem, then repeat last operation.</source>
        <translation>FTP-соединение неожиданно закрыто.

Отключите и снова включите питание спутникового IP-модема, затем повторите последнюю операцию.</translation>
    </message>
    <message>
        <source>Upgrade failed. Click OK and close the upgrader.  Check connection before retrying upgrade.</source>
        <translation>Сбой обновления. Нажмите «OK» и закройте программу обновления. Перед повторным обновлением проверьте подключение.</translation>
    </message>
    <message>
        <source>Upgrade failed.  Click OK and close the upgrader.  Turn the Satellite IP Modem off and on again before retrying upgrade.</source>
        <translation>Сбой обновления. Нажмите «OK» и закройте программу обновления. Перед повторным обновлением выключите и снова включите спутниковый IP-модем.</translation>
    </message>
    <message>
        <source>Syslog file downloading failed.  Click OK and close the upgrader.  Check connection before retrying.</source>
        <translation>Не удалось загрузить файл системного журнала (syslog). Нажмите «OK» и закройте программу обновления. Перед повторной попыткой проверьте подключение.</translation>
    </message>
    <message>
        <source>Reading the modem&apos;s image failed.</source>
        <translation>Не удалось считать образ ПО модема.</translation>
    </message>
    <message>
        <source>Can not send command to upgrade the PIC. 
Please check cable connections, remove and reapply power to the modem.
Repeat upgrade process.</source>
        <translation>Не удаётся отправить команду обновления PIC.
Проверьте кабельные подключения, отключите и снова включите питание модема.
Повторите процесс обновления.</translation>
    </message>
    <message>
        <source>Telnet did not respond.
Please terminate any active Telnet connections.</source>
        <translation>Telnet не отвечает.
Завершите все активные сеансы Telnet.</translation>
    </message>
    <message>
        <source>Upgrade Completed.
Click OK and wait until we get software version.</source>
        <translation>Обновление завершено.
Нажмите «OK» и дождитесь получения версии ПО.</translation>
    </message>
    <message>
        <source>PIC Upgrade failed.  Click OK and try again.  If it fail again, call support.</source>
        <translation>Сбой обновления PIC. Нажмите «OK» и повторите попытку. При повторном сбое обратитесь в службу поддержки.</translation>
    </message>
    <message>
        <source>The AT command could not be sent.
Please check cable connections.
Remove and reapply power to the modem.
Use Tool menu to check DNS addresses.</source>
        <translation>Не удалось отправить команду AT.
Проверьте кабельные подключения.
Отключите и снова включите питание модема.
Проверьте адреса DNS через меню «Сервис».</translation>
    </message>
    <message>
        <source>The modem did not answer the AT command.
Please check cable connections.
Remove and reapply power to the modem.
Use Tool menu to check DNS addresses.</source>
        <translation>Модем не ответил на команду AT.
Проверьте кабельные подключения.
Отключите и снова включите питание модема.
Проверьте адреса DNS через меню «Сервис».</translation>
    </message>
    <message>
        <source>The modem closed the AT connection without answering.
Please check cable connections.
Remove and reapply power to the modem.
Use Tool menu to check DNS addresses.</source>
        <translation>Модем закрыл AT-соединение, не ответив.
Проверьте кабельные подключения.
Отключите и снова включите питание модема.
Проверьте адреса DNS через меню «Сервис».</translation>
    </message>
    <message>
        <source>The modem&apos;s answer to the AT command could not be read.
Please check cable connections.
Remove and reapply power to the modem.
Use Tool menu to check DNS addresses.</source>
        <translation>Не удалось прочитать ответ модема на команду AT.
Проверьте кабельные подключения.
Отключите и снова включите питание модема.
Проверьте адреса DNS через меню «Сервис».</translation>
    </message>
    <message>
        <source>Can&apos;t verify DNS address.

Check if SIM card is inserted correctly.
Reset Modem and repeat command.
</source>
        <translation>Не удаётся проверить адрес DNS.

Проверьте, правильно ли вставлена SIM-карта.
Перезагрузите модем и повторите команду.
</translation>
    </message>
    <message>
        <source>Wrong DNS adress.
</source>
        <translation>Неверный адрес DNS.
</translation>
    </message>
    <message>
        <source>Wrong DNS2 adress.
</source>
        <translation>Неверный адрес DNS2.
</translation>
    </message>
    <message>
        <source>Data arrival from AT in wrong state %1</source>
        <translation>Данные от AT получены в неверном состоянии %1</translation>
    </message>
    <message>
        <source>Release Series conflict detected. Upgrade not possible.</source>
        <translation>Обнаружен конфликт серий выпуска. Обновление невозможно.</translation>
    </message>
    <message>
        <source>We can&apos;t load this version because checksum file doesn&apos;t exist.</source>
        <translation>Невозможно загрузить эту версию: отсутствует файл контрольной суммы.</translation>
    </message>
    <message>
        <source>No old versions are available.</source>
        <translation>Нет доступных старых версий.</translation>
    </message>
    <message>
        <source>We can&apos;t restore this version because checksum file doesn&apos;t exist.</source>
        <translation>Невозможно восстановить эту версию: отсутствует файл контрольной суммы.</translation>
    </message>
    <message>
        <source>Unable to find pic.hex in home directory %1.
Please copy PIC file in %1</source>
        <translation>Файл pic.hex не найден в домашнем каталоге %1.
Скопируйте файл PIC в %1</translation>
    </message>
    <message>
        <source>The image %1 is empty: it would leave the modem without software. Nothing was sent to the modem.</source>
        <translation>Образ %1 пуст: модем остался бы без ПО. В модем ничего не отправлено.</translation>
    </message>
    <message>
        <source>The file %1 cannot be read: %2.
Nothing was sent to the modem.</source>
        <translation>Не удаётся прочитать файл %1: %2.
В модем ничего не отправлено.</translation>
    </message>
    <message>
        <source>The modem&apos;s file %1 came back empty, so its software could not be backed up.
The upgrade stopped before anything was sent to the modem.</source>
        <translation>Файл модема %1 получен пустым, поэтому создать резервную копию его ПО не удалось.
Обновление остановлено до отправки каких-либо данных в модем.</translation>
    </message>
    <message>
        <source>The backup of the modem&apos;s software could not be stored:
%1
The upgrade stopped before anything was sent to the modem.</source>
        <translation>Не удалось сохранить резервную копию ПО модема:
%1
Обновление остановлено до отправки каких-либо данных в модем.</translation>
    </message>
    <message>
        <source>The backup folder was not free within 60 seconds: %1.
The upgrade stopped before anything was sent to the modem.</source>
        <translation>Папка резервных копий не освободилась в течение 60 секунд: %1.
Обновление остановлено до отправки каких-либо данных в модем.</translation>
    </message>
    <message>
        <source>CreatePipe failed. Error: %1</source>
        <translation>Сбой CreatePipe. Ошибка: %1</translation>
    </message>
    <message>
        <source>Command not found</source>
        <translation>Команда не найдена</translation>
    </message>
    <message>
        <source>The command did not finish within a minute and was ended:
%1

The PC address was not changed.</source>
        <translation>Команда не завершилась в течение минуты и была прервана:
%1

Адрес компьютера не изменён.</translation>
    </message>
    <message>
        <source>Please change your local IP address manually to 192.168.128.101</source>
        <translation>Измените локальный IP-адрес вручную на 192.168.128.101</translation>
    </message>
    <message>
        <source>Wrong local IP address</source>
        <translation>Неверный локальный IP-адрес</translation>
    </message>
    <message>
        <source>No data moved between the PC and the modem for 65 seconds.</source>
        <translation>В течение 65 секунд между компьютером и модемом не передавались данные.</translation>
    </message>
    <message>
        <source>The new software could not be written whole to the Satellite IP Modem at %1.
Its previous software %2 was put back and read back intact; the modem runs it as before.

Check the connection, then repeat the operation.</source>
        <translation>Не удалось полностью записать новое ПО в спутниковый IP-модем по адресу %1.
Предыдущее ПО %2 возвращено и проверено обратным чтением; модем работает на нём, как прежде.

Проверьте подключение и повторите операцию.</translation>
    </message>
    <message>
        <source>The software image on the Satellite IP Modem at %1 is incomplete: the transfer broke, and neither the new nor the previous software could be written whole.

Do not switch the modem off.
Repeat the operation as soon as the modem answers.</source>
        <translation>Образ ПО в спутниковом IP-модеме по адресу %1 неполный: передача прервалась, и ни новое, ни предыдущее ПО не удалось записать полностью.

Не выключайте модем.
Повторите операцию, как только модем ответит.</translation>
    </message>
    <message>
        <source>The PIC file did not reach the modem intact (%1 read back differs from pic.hex). The PIC was not reflashed.
Repeat the PIC upgrade.</source>
        <translation>Файл PIC поступил в модем с искажениями (считанный обратно %1 отличается от pic.hex). PIC не перепрошит.
Повторите обновление PIC.</translation>
    </message>
    <message>
        <source>An upload to the Satellite IP Modem at %1 began at %2 and never ended: the modem&apos;s software image may be incomplete.

Do not switch the modem off.
Click Upgrade to send the image again, or Restore to put an older version back.</source>
        <translation>Загрузка в спутниковый IP-модем по адресу %1, начатая %2, не была завершена: образ ПО модема может быть неполным.

Не выключайте модем.
Нажмите «Обновить», чтобы отправить образ снова, или «Восстановить», чтобы вернуть более старую версию.</translation>
    </message>
    <message>
        <source>The Satellite IP Modem at %1 was not restarted: its software image is incomplete (an upload that began at %2 never ended), and it would not start again.

Upgrade it again, or restore an older version, before restarting it.</source>
        <translation>Спутниковый IP-модем по адресу %1 не перезагружен: его образ ПО неполный (загрузка, начатая %2, не была завершена), и модем не смог бы запуститься снова.

Перед перезагрузкой обновите модем снова или восстановите более старую версию.</translation>
    </message>
    <message>
        <source>Another process of this tool is working on the Satellite IP Modem at %1: %2.
Wait until it has finished, then try again.</source>
        <translation>Другой экземпляр этой программы работает со спутниковым IP-модемом по адресу %1: %2.
Дождитесь завершения его работы и повторите попытку.</translation>
    </message>
    <message>
        <source>The new software is not installed: %1
Nothing was sent to the modem.</source>
        <translation>Новое ПО не установлено: %1
В модем ничего не отправлено.</translation>
    </message>
    <message>
        <source>The backup is not restored: %1
Nothing was sent to the modem.</source>
        <translation>Резервная копия не восстановлена: %1
В модем ничего не отправлено.</translation>
    </message>
    <message>
        <source>The modem reports version %1 after the upgrade, not %2.</source>
        <translation>После обновления модем сообщает версию %1, а не %2.</translation>
    </message>
    <message>
        <source>The modem reports version %1 after the restore, not %2.</source>
        <translation>После восстановления модем сообщает версию %1, а не %2.</translation>
    </message>
    <message>
        <source>Can not connect to modem using existing PC address %1

Upgrader will set static IP address 192.168.128.101 for yor computer.

                 Do you want to proceed?</source>
        <translation>Не удаётся подключиться к модему с текущим адресом компьютера %1

Программа обновления назначит Вашему компьютеру статический IP-адрес 192.168.128.101.

                 Продолжить?</translation>
    </message>
    <message>
        <source>The Satellite IP Modem at %1 did not answer as expected, and its software image is incomplete: an upload that began at %2 never ended.

Do not switch the modem off: it would not start again.
Check the cable connection. As soon as the modem answers, click Upgrade to send the image again, or Restore to put an older version back.</source>
        <translation>Спутниковый IP-модем по адресу %1 ответил не так, как ожидалось, и образ его ПО неполон: загрузка, начатая %2, не была завершена.

Не выключайте модем: он не запустится снова.
Проверьте подключение кабеля. Как только модем ответит, нажмите «Обновить», чтобы отправить образ снова, или «Восстановить», чтобы вернуть более старую версию.</translation>
    </message>
    <message>
        <source>%1: %2 of %3 MiB</source>
        <translation>%1: %2 из %3 MiB</translation>
    </message>
    <message>
        <source>%1: %2 MiB</source>
        <translation>%1: %2 MiB</translation>
    </message>
    <message>
        <source>%1, no data for %2 s</source>
        <translation>%1, нет данных %2 с</translation>
    </message>
    <message>
        <source>%1, %2 MiB/s</source>
        <translation>%1, %2 MiB/s</translation>
    </message>
    <message>
        <source>%1, %2 s left</source>
        <translation>%1, осталось %2 с</translation>
    </message>
    <message>
        <source>Modem restarting: its version is read again in %1 s.</source>
        <translation>Модем перезапускается: версия будет считана повторно через %1 с.</translation>
    </message>
    <message>
        <source>PIC reflash running for %1 s.</source>
        <translation>Перепрошивка PIC выполняется %1 с.</translation>
    </message>
    <message>
        <source>%1 record waits for the records database, which cannot be reached (%2): they go when it answers.</source>
        <translation>%1 запись ожидает отправки в базу данных записей, которая недоступна (%2): запись будет отправлена, когда база ответит.</translation>
    </message>
    <message>
        <source>%1 records wait for the records database, which cannot be reached (%2): they go when it answers.</source>
        <translation>Записей, ожидающих отправки в базу данных записей: %1. База недоступна (%2): записи будут отправлены, когда она ответит.</translation>
    </message>
    <message>
        <source>The records database answers again: the waiting records are in.</source>
        <translation>База данных записей снова отвечает: ожидавшие записи переданы.</translation>
    </message>
    <message>
        <source>Cannot remove %1: %2</source>
        <translation>Не удаётся удалить %1: %2</translation>
    </message>
    <message>
        <source>Cannot write %1</source>
        <translation>Не удаётся записать %1</translation>
    </message>
    <message>
        <source>there is no folder for settings (HOME is not set)</source>
        <translation>нет папки для настроек (переменная HOME не задана)</translation>
    </message>
    <message>
        <source>its name holds a line break</source>
        <translation>имя содержит перевод строки</translation>
    </message>
    <message>
        <source>it is not an absolute path</source>
        <translation>это не абсолютный путь</translation>
    </message>
    <message>
        <source>cannot create the folder %1: %2</source>
        <translation>не удаётся создать папку %1: %2</translation>
    </message>
    <message>
        <source>cannot write %1: %2</source>
        <translation>не удаётся записать %1: %2</translation>
    </message>
    <message>
        <source>Satellite IP Modem</source>
        <translation>Спутниковый IP-модем</translation>
    </message>
    <message>
        <source>You already have the latest version of software.</source>
        <translation>У Вас уже установлена последняя версия ПО.</translation>
    </message>
    <message>
        <source>If the Satellite IP Modem is not already connected to your PC, disconnect the dial-up or LAN connection and connect the Satellite IP Modem to your PC.</source>
        <translation>Если спутниковый IP-модем ещё не подключён к компьютеру, отключите коммутируемое или LAN-соединение и подключите спутниковый IP-модем к компьютеру.</translation>
    </message>
    <message>
        <source>&amp;Complete upgrade now</source>
        <translation>&amp;Завершить обновление сейчас</translation>
    </message>
    <message>
        <source>Complete &amp;upgrade later</source>
        <translation>Завершить обновление &amp;позже</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Unable to find upgrade program home directory %1.
Please install the upgrade program in this Computer.</source>
        <translation>Не найден домашний каталог программы обновления %1.
Установите программу обновления на этот компьютер.</translation>
    </message>
    <message>
        <source>Unable to find the binary file %1kova_*.bin. 
Or there is more than one binary file in the application&apos;s home directory.
Please make sure there is and there is only one binary file in that directory.</source>
        <translation>Не найден двоичный файл %1kova_*.bin.
Либо в домашнем каталоге программы находится более одного двоичного файла.
Убедитесь, что в этом каталоге находится ровно один двоичный файл.</translation>
    </message>
    <message>
        <source>%1 cannot be used: a double quote or a control character in the name of the binary file or of its folder would break every transfer.
Please rename it.</source>
        <translation>Невозможно использовать %1: двойная кавычка или управляющий символ в имени двоичного файла или его папки нарушат любую передачу.
Переименуйте файл или папку.</translation>
    </message>
    <message>
        <source>Unable to create the backup directory %1.
The modem&apos;s software cannot be backed up before an upgrade.</source>
        <translation>Не удалось создать каталог резервных копий %1.
Резервное копирование ПО модема перед обновлением невозможно.</translation>
    </message>
    <message>
        <source>%1
Please replace or remove it.</source>
        <translation>%1
Замените или удалите этот файл.</translation>
    </message>
    <message>
        <source>The new software %1 is refused: %2
Nothing will be sent to the modem.</source>
        <translation>Новое ПО %1 отклонено: %2
В модем ничего не будет отправлено.</translation>
    </message>
    <message>
        <source>Choose the firmware folder (the one with kova_*.bin)</source>
        <translation>Выберите папку с микропрограммой (содержащую kova_*.bin)</translation>
    </message>
    <message>
        <source>The firmware folder %1 could not be remembered for the next start: %2.</source>
        <translation>Не удалось запомнить папку с микропрограммой %1 для следующего запуска: %2.</translation>
    </message>
    <message>
        <source>There is no kova_*.bin in %1.
Please choose the folder that holds the new software image.</source>
        <translation>В папке %1 нет файла kova_*.bin.
Выберите папку, содержащую образ нового ПО.</translation>
    </message>
    <message>
        <source>AT Error %1</source>
        <translation>Ошибка AT %1</translation>
    </message>
    <message>
        <source>AT Connecting .....</source>
        <translation>Подключение AT .....</translation>
    </message>
    <message>
        <source>Resetting modem. Wait 20 seconds.</source>
        <translation>Перезагрузка модема. Подождите 20 секунд.</translation>
    </message>
    <message>
        <source>Connection failed.</source>
        <translation>Сбой подключения.</translation>
    </message>
    <message>
        <source>Sending AT command.</source>
        <translation>Отправка команды AT.</translation>
    </message>
    <message>
        <source>Configure Modem Interface</source>
        <translation>Настройка интерфейса модема</translation>
    </message>
    <message>
        <source>Enter IP address of the KOVA Terminal</source>
        <translation>Введите IP-адрес терминала KOVA</translation>
    </message>
    <message>
        <source>Terminal &amp;IP:</source>
        <translation>&amp;IP-адрес терминала:</translation>
    </message>
    <message>
        <source>.</source>
        <translation>.</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Закрыть</translation>
    </message>
    <message>
        <source>&amp;Update</source>
        <translation>&amp;Применить</translation>
    </message>
    <message>
        <source>system error %1</source>
        <translation>системная ошибка %1</translation>
    </message>
    <message>
        <source>Cannot store %1: %2</source>
        <translation>Не удаётся сохранить %1: %2</translation>
    </message>
    <message>
        <source>Cannot open %1: %2</source>
        <translation>Не удаётся открыть %1: %2</translation>
    </message>
    <message>
        <source>Cannot sync %1: %2</source>
        <translation>Не удаётся синхронизировать %1 с диском: %2</translation>
    </message>
    <message>
        <source>Cannot lock %1: %2</source>
        <translation>Не удаётся заблокировать %1: %2</translation>
    </message>
    <message>
        <source>it is too long for a minisign public key</source>
        <translation>файл слишком велик для открытого ключа minisign</translation>
    </message>
    <message>
        <source>it is not a minisign public key (a comment line and one line of base64)</source>
        <translation>это не открытый ключ minisign (строка комментария и одна строка base64)</translation>
    </message>
    <message>
        <source>its key line is not the base64 of a minisign public key</source>
        <translation>строка ключа не является открытым ключом minisign в base64</translation>
    </message>
    <message>
        <source>it is not an Ed25519 key</source>
        <translation>это не ключ Ed25519</translation>
    </message>
    <message>
        <source>it is too long for a minisign signature</source>
        <translation>файл слишком велик для подписи minisign</translation>
    </message>
    <message>
        <source>it is not a minisign signature (four lines: a comment, the signature, &quot;trusted comment: &quot; and the comment&apos;s signature)</source>
        <translation>это не подпись minisign (четыре строки: комментарий, подпись, &quot;trusted comment: &quot; и подпись комментария)</translation>
    </message>
    <message>
        <source>its signature line is not the base64 of a minisign signature</source>
        <translation>строка подписи не является подписью minisign в base64</translation>
    </message>
    <message>
        <source>its signature is neither of minisign&apos;s Ed25519 forms</source>
        <translation>подпись не соответствует ни одной из форм Ed25519, используемых minisign</translation>
    </message>
    <message>
        <source>its trusted comment&apos;s signature is not the base64 of a signature</source>
        <translation>подпись доверенного комментария не является подписью в base64</translation>
    </message>
    <message>
        <source>its trusted comment holds a control character</source>
        <translation>доверенный комментарий содержит управляющий символ</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>это не обычный файл</translation>
    </message>
    <message>
        <source>KOVA Upgrader</source>
        <translation>KOVA Upgrader</translation>
    </message>
    <message>
        <source>Satellite IP Modem Upgrader</source>
        <translation>Программа обновления спутникового IP-модема</translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation>Неизвестно</translation>
    </message>
    <message>
        <source>Can not Connect to AT interface. 
Please check cable connections.
Remove and reapply power to the modem.
Repeat upgrade process.</source>
        <translation>Не удаётся подключиться к интерфейсу AT.
Проверьте кабельные подключения.
Отключите и снова включите питание модема.
Повторите процесс обновления.</translation>
    </message>
    <message>
        <source>A DNS address may not contain a double quote, a line break, another control character or a character the modem&apos;s single-byte text cannot hold.</source>
        <translation>Адрес DNS не может содержать двойные кавычки, перевод строки, другие управляющие символы или символы, непредставимые в однобайтовой кодировке модема.</translation>
    </message>
    <message>
        <source>The trusted key %1 cannot be used: %2.</source>
        <translation>Невозможно использовать доверенный ключ %1: %2.</translation>
    </message>
    <message>
        <source>The list of revoked keys %1 cannot be read: %2.</source>
        <translation>Не удаётся прочитать список отозванных ключей %1: %2.</translation>
    </message>
    <message>
        <source>The list of revoked keys %1 cannot be used: line %2 is not a key ID (hex digits, as minisign prints it).</source>
        <translation>Невозможно использовать список отозванных ключей %1: строка %2 не является идентификатором ключа (шестнадцатеричные (hex) цифры в том виде, в каком их выводит minisign).</translation>
    </message>
    <message>
        <source>it is larger than %1 bytes</source>
        <translation>размер файла превышает %1 байт</translation>
    </message>
    <message>
        <source>The trusted-key folder %1 cannot be read: %2.</source>
        <translation>Не удаётся прочитать папку доверенных ключей %1: %2.</translation>
    </message>
    <message>
        <source>Cannot use the history file %1: %2</source>
        <translation>Невозможно использовать файл журнала обновлений %1: %2</translation>
    </message>
    <message>
        <source>Cannot open the history file %1: %2</source>
        <translation>Не удаётся открыть файл журнала обновлений %1: %2</translation>
    </message>
    <message>
        <source>Cannot write the history file %1: %2</source>
        <translation>Не удаётся записать файл журнала обновлений %1: %2</translation>
    </message>
    <message>
        <source>Cannot write the history file %1: only %2 of %3 bytes were written</source>
        <translation>Не удаётся записать файл журнала обновлений %1: записано только %2 из %3 байт</translation>
    </message>
    <message>
        <source>Cannot save the history file to disk %1: %2</source>
        <translation>Не удаётся сохранить на диск файл журнала обновлений %1: %2</translation>
    </message>
    <message>
        <source>Reset done. Wait .....</source>
        <translation>Перезагрузка выполнена. Подождите .....</translation>
    </message>
    <message>
        <source>Trying to retrieve Satellite IP Modem software version...</source>
        <translation>Получение версии ПО спутникового IP-модема...</translation>
    </message>
    <message>
        <source>Check Satellite IP Modem software version.</source>
        <translation>Проверьте версию ПО спутникового IP-модема.</translation>
    </message>
    <message>
        <source>Software version was retrieved!</source>
        <translation>Версия ПО получена!</translation>
    </message>
    <message>
        <source>ZING Connection failed.</source>
        <translation>Сбой подключения ZING.</translation>
    </message>
    <message>
        <source>Connection succeed.</source>
        <translation>Подключение установлено.</translation>
    </message>
    <message>
        <source>the backup %1 was not taken by this tool: the history holds no record of it, and with a trusted key only recorded backups are restored.</source>
        <translation>резервная копия %1 создана не этой программой: в журнале обновлений нет записи о ней, а при наличии доверенного ключа восстанавливаются только резервные копии, записанные в журнал.</translation>
    </message>
    <message>
        <source>the SHA-256 of %1 is %2; when it was kept on %3 it was %4.</source>
        <translation>SHA-256 файла %1 равен %2, а при его сохранении (%3) был равен %4.</translation>
    </message>
    <message>
        <source>Successfully upgraded! Wait...</source>
        <translation>Обновление выполнено успешно! Подождите...</translation>
    </message>
    <message>
        <source>Upgrading Satellite IP Modem with version %1 ...</source>
        <translation>Обновление спутникового IP-модема до версии %1 ...</translation>
    </message>
    <message>
        <source>Uploading PIC software! Wait...</source>
        <translation>Загрузка ПО PIC! Подождите...</translation>
    </message>
    <message>
        <source>PIC successfully uploaded! Wait...</source>
        <translation>ПО PIC успешно загружено! Подождите...</translation>
    </message>
    <message>
        <source>Deleting config file</source>
        <translation>Удаление файла конфигурации</translation>
    </message>
    <message>
        <source>Successfully restored! Wait...</source>
        <translation>Восстановление выполнено успешно! Подождите...</translation>
    </message>
    <message>
        <source>Previous software put back. Wait...</source>
        <translation>Предыдущее ПО возвращено. Подождите...</translation>
    </message>
    <message>
        <source>Putting back Satellite IP Modem software version %1 ...</source>
        <translation>Возврат ПО спутникового IP-модема версии %1 ...</translation>
    </message>
    <message>
        <source>Log file doesn&apos;t exist.</source>
        <translation>Файл журнала не существует.</translation>
    </message>
    <message>
        <source>Log downloaded</source>
        <translation>Журнал загружен</translation>
    </message>
    <message>
        <source>%1 lies beside the image but is not named in the manifest.</source>
        <translation>Файл %1 находится рядом с образом, но не указан в манифесте.</translation>
    </message>
    <message>
        <source>The manifest names %1 where %2 was expected.</source>
        <translation>В манифесте указан файл %1, а ожидался %2.</translation>
    </message>
    <message>
        <source>The manifest names %1, which is missing.</source>
        <translation>В манифесте указан файл %1, который отсутствует.</translation>
    </message>
    <message>
        <source>%1 has %2 bytes; the manifest says %3.</source>
        <translation>Размер файла %1 — %2 байт; в манифесте указано %3.</translation>
    </message>
    <message>
        <source>%1 cannot be read.</source>
        <translation>Не удаётся прочитать файл %1.</translation>
    </message>
    <message>
        <source>The SHA-256 of %1 is %2; the manifest says %3.</source>
        <translation>SHA-256 файла %1 равен %2; в манифесте указано %3.</translation>
    </message>
    <message>
        <source>The release has no usable manifest %1 (%2): with a trusted key, only a signed release is installed.</source>
        <translation>В выпуске нет пригодного манифеста %1 (%2): при наличии доверенного ключа устанавливается только подписанный выпуск.</translation>
    </message>
    <message>
        <source>The manifest&apos;s signature %1 cannot be read (%2): with a trusted key, only a signed release is installed.</source>
        <translation>Не удаётся прочитать подпись манифеста %1 (%2): при наличии доверенного ключа устанавливается только подписанный выпуск.</translation>
    </message>
    <message>
        <source>The signature %1 is damaged: %2.</source>
        <translation>Подпись %1 повреждена: %2.</translation>
    </message>
    <message>
        <source>The release is signed with the key %1, which is not trusted.</source>
        <translation>Выпуск подписан ключом %1, который не является доверенным.</translation>
    </message>
    <message>
        <source>The release is signed with the key %1, which is revoked.</source>
        <translation>Выпуск подписан ключом %1, который отозван.</translation>
    </message>
    <message>
        <source>The signature %1 does not match %2: the manifest or its signature was changed.</source>
        <translation>Подпись %1 не соответствует %2: манифест или его подпись были изменены.</translation>
    </message>
    <message>
        <source>The trusted comment of %1 does not match its signature: it was changed.</source>
        <translation>Доверенный комментарий в %1 не соответствует своей подписи: он был изменён.</translation>
    </message>
    <message>
        <source>The manifest %1 cannot be used: %2.</source>
        <translation>Невозможно использовать манифест %1: %2.</translation>
    </message>
    <message>
        <source>The manifest is for version %1, the image is %2.</source>
        <translation>Манифест относится к версии %1, а образ — к версии %2.</translation>
    </message>
    <message>
        <source>signed by %1</source>
        <translation>подписано: %1</translation>
    </message>
    <message>
        <source>not signed</source>
        <translation>без подписи</translation>
    </message>
    <message>
        <source>refused</source>
        <translation>отклонено</translation>
    </message>
    <message>
        <source>%1 holds &quot;%2&quot;, which this tool does not know</source>
        <translation>объект %1 содержит ключ &quot;%2&quot;, неизвестный этой программе</translation>
    </message>
    <message>
        <source>%1 has no &quot;%2&quot;</source>
        <translation>в объекте %1 нет ключа &quot;%2&quot;</translation>
    </message>
    <message>
        <source>%1&apos;s &quot;%2&quot; is not a text</source>
        <translation>в объекте %1 значение &quot;%2&quot; не является текстом</translation>
    </message>
    <message>
        <source>%1 is not an object</source>
        <translation>%1 не является объектом</translation>
    </message>
    <message>
        <source>%1&apos;s &quot;sha256&quot; is not 64 lower-case hex digits</source>
        <translation>в объекте %1 значение &quot;sha256&quot; не состоит из 64 шестнадцатеричных (hex) цифр в нижнем регистре</translation>
    </message>
    <message>
        <source>%1&apos;s &quot;name&quot; is not a file name</source>
        <translation>в объекте %1 значение &quot;name&quot; не является именем файла</translation>
    </message>
    <message>
        <source>%1&apos;s &quot;size&quot; is not a number of bytes</source>
        <translation>в объекте %1 значение &quot;size&quot; не является числом байт</translation>
    </message>
    <message>
        <source>it is not a JSON object</source>
        <translation>это не объект JSON</translation>
    </message>
    <message>
        <source>the manifest</source>
        <translation>манифеста</translation>
    </message>
    <message>
        <source>its &quot;version&quot; is not a version</source>
        <translation>значение &quot;version&quot; не является версией</translation>
    </message>
    <message>
        <source>%1&apos;s &quot;%2&quot; is not a version</source>
        <translation>в объекте %1 значение &quot;%2&quot; не является версией</translation>
    </message>
    <message>
        <source>series %1, version %2 or later</source>
        <translation>серия %1, версия %2 или новее</translation>
    </message>
    <message>
        <source>series %1</source>
        <translation>серия %1</translation>
    </message>
    <message>
        <source>version %1 or later</source>
        <translation>версия %1 или новее</translation>
    </message>
    <message>
        <source>Version %1 may only be installed over %2; the modem&apos;s running version is not known.</source>
        <translation>Версию %1 можно установить только поверх ПО (%2); версия ПО, работающего в модеме, неизвестна.</translation>
    </message>
    <message>
        <source>Version %1 may only be installed over %2; the modem runs %3.</source>
        <translation>Версию %1 можно установить только поверх ПО (%2); в модеме работает версия %3.</translation>
    </message>
    <message>
        <source>Restore Satellite IP Modem Software</source>
        <translation>Восстановление ПО спутникового IP-модема</translation>
    </message>
    <message>
        <source>Select an old software version to restore:</source>
        <translation>Выберите старую версию ПО для восстановления:</translation>
    </message>
    <message>
        <source>The modem&apos;s configuration will be reset to defaults.</source>
        <translation>Настройки модема будут сброшены к значениям по умолчанию.</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
    <message>
        <source>Changing local address to 192.168.128.101. Wait ...</source>
        <translation>Изменение локального адреса на 192.168.128.101. Подождите ...</translation>
    </message>
    <message>
        <source>No Local Area network connection found. The PC address was not changed.</source>
        <translation>Подключение по локальной сети не найдено. Адрес компьютера не изменён.</translation>
    </message>
    <message>
        <source>The PC address was not changed.</source>
        <translation>Адрес компьютера не изменён.</translation>
    </message>
    <message>
        <source>Restoring DHCP for Local Area Connection. Wait....</source>
        <translation>Восстановление DHCP для подключения по локальной сети. Подождите....</translation>
    </message>
    <message>
        <source>Can&apos;t Get local IP</source>
        <translation>Не удаётся получить локальный IP-адрес</translation>
    </message>
    <message>
        <source>Can&apos;t Get new local IP</source>
        <translation>Не удаётся получить новый локальный IP-адрес</translation>
    </message>
    <message>
        <source>Failure</source>
        <translation>Сбой</translation>
    </message>
    <message>
        <source>Downloading Log</source>
        <translation>Загрузка журнала</translation>
    </message>
    <message>
        <source>Log not downloaded: %1 is from an earlier download.</source>
        <translation>Журнал не загружен: %1 остался от предыдущей загрузки.</translation>
    </message>
    <message>
        <source>Waiting for the modem to come back...</source>
        <translation>Ожидание, пока модем снова станет доступен...</translation>
    </message>
    <message>
        <source>Resetting Satellite IP Modem...</source>
        <translation>Перезагрузка спутникового IP-модема...</translation>
    </message>
    <message>
        <source>Restore stopped: no software version within 30 seconds.</source>
        <translation>Восстановление остановлено: версия ПО не получена в течение 30 секунд.</translation>
    </message>
    <message>
        <source>Preparing for Software Restore with version %1 ...</source>
        <translation>Подготовка к восстановлению ПО версии %1 ...</translation>
    </message>
    <message>
        <source>Restoring Satellite IP Modem with version %1 ...</source>
        <translation>Восстановление спутникового IP-модема до версии %1 ...</translation>
    </message>
    <message>
        <source>No answer to the prepare command; going on without it.</source>
        <translation>Нет ответа на команду подготовки; работа продолжается без неё.</translation>
    </message>
    <message>
        <source>Verifying the software stored on the Satellite IP Modem...</source>
        <translation>Проверка ПО, записанного в спутниковый IP-модем...</translation>
    </message>
    <message>
        <source>The transfer did not arrive whole; sending it again (attempt %1 of %2)...</source>
        <translation>Данные переданы не полностью; повторная отправка (попытка %1 из %2)...</translation>
    </message>
    <message>
        <source>The new software could not be written whole; putting back version %1...</source>
        <translation>Не удалось полностью записать новое ПО; возврат версии %1...</translation>
    </message>
    <message>
        <source>Upgrade stopped: no software version within 30 seconds.</source>
        <translation>Обновление остановлено: версия ПО не получена в течение 30 секунд.</translation>
    </message>
    <message>
        <source>Cannot create a file in %1: %2</source>
        <translation>Не удаётся создать файл в %1: %2</translation>
    </message>
    <message>
        <source>Preparing for Upgrade with version %1 ...</source>
        <translation>Подготовка к обновлению до версии %1 ...</translation>
    </message>
    <message>
        <source>Upgrade refused: the release did not pass its checks.</source>
        <translation>Обновление отклонено: выпуск не прошёл проверку.</translation>
    </message>
    <message>
        <source>Downloading Satellite IP Modem software to PC...</source>
        <translation>Загрузка ПО спутникового IP-модема на компьютер...</translation>
    </message>
    <message>
        <source>another process holds it</source>
        <translation>её занимает другой процесс</translation>
    </message>
    <message>
        <source>Waiting for the backup folder: %1</source>
        <translation>Ожидание папки резервных копий: %1</translation>
    </message>
    <message>
        <source>Reading the modem&apos;s image...</source>
        <translation>Чтение образа ПО модема...</translation>
    </message>
    <message>
        <source>The modem&apos;s file %1 is larger than %2 MiB, the space left on the disk: it was not downloaded.</source>
        <translation>Файл модема %1 больше %2 MiB — свободного места на диске: он не загружен.</translation>
    </message>
    <message>
        <source>The modem&apos;s file %1 is larger than %2 MiB, more than a modem image or log can be: it was not downloaded.</source>
        <translation>Файл модема %1 больше %2 MiB — больше, чем может занимать образ или журнал модема: он не загружен.</translation>
    </message>
    <message>
        <source>Cannot write local file %1: %2</source>
        <translation>Не удаётся записать локальный файл %1: %2</translation>
    </message>
    <message>
        <source>Cannot open local file %1: %2</source>
        <translation>Не удаётся открыть локальный файл %1: %2</translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation>это не обычный файл</translation>
    </message>
    <message>
        <source>Cannot create local file %1: %2</source>
        <translation>Не удаётся создать локальный файл %1: %2</translation>
    </message>
    <message>
        <source>not a file name</source>
        <translation>это не имя файла</translation>
    </message>
    <message>
        <source>Cannot store local file %1: %2</source>
        <translation>Не удаётся сохранить локальный файл %1: %2</translation>
    </message>
    <message>
        <source>The operation timed out: %1</source>
        <translation>Время ожидания операции истекло: %1</translation>
    </message>
    <message>
        <source>Cannot read local file %1: %2</source>
        <translation>Не удаётся прочитать локальный файл %1: %2</translation>
    </message>
    <message>
        <source>red</source>
        <translation>красный</translation>
    </message>
    <message>
        <source>green</source>
        <translation>зелёный</translation>
    </message>
    <message>
        <source>FTP Timeout. Checking connection.....</source>
        <translation>Тайм-аут FTP. Проверка подключения.....</translation>
    </message>
    <message>
        <source>Timer expired. Checking connection....</source>
        <translation>Время ожидания истекло. Проверка подключения....</translation>
    </message>
    <message>
        <source>Connecting .....</source>
        <translation>Подключение .....</translation>
    </message>
    <message>
        <source>Sending PIC reflash command.</source>
        <translation>Отправка команды перепрошивки PIC.</translation>
    </message>
    <message>
        <source>Command failed.</source>
        <translation>Команда не выполнена.</translation>
    </message>
    <message>
        <source>PIC reflashing.... Wait up to 1 minute.   DO NOT INTERRUPT</source>
        <translation>Перепрошивка PIC.... Подождите до 1 минуты.   НЕ ПРЕРЫВАЙТЕ</translation>
    </message>
    <message>
        <source>PIC reflash completed. Wait for restart...</source>
        <translation>Перепрошивка PIC завершена. Дождитесь перезапуска...</translation>
    </message>
    <message>
        <source>Telnet Error %1</source>
        <translation>Ошибка Telnet %1</translation>
    </message>
    <message>
        <source>Telnet connection closed by the modem.</source>
        <translation>Модем закрыл соединение Telnet.</translation>
    </message>
    <message>
        <source>No telnet prompt from the modem within %1 seconds.</source>
        <translation>Модем не выдал приглашение Telnet в течение %1 с.</translation>
    </message>
    <message>
        <source>No answer to the prepare command within %1 seconds.</source>
        <translation>Нет ответа на команду подготовки в течение %1 с.</translation>
    </message>
</context>
</TS>
