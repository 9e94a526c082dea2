<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pt_BR" sourcelanguage="en">
<context>
    <name>kova</name>
    <message>
        <source>Leave the modem connected and powered: press Enter to repeat the upgrade.</source>
        <translation>Deixe o modem conectado e ligado: pressione Enter para repetir a atualização.</translation>
    </message>
    <message>
        <source>Verify if DNS adresses are good.</source>
        <translation>Verifique se os endereços DNS estão corretos.</translation>
    </message>
    <message>
        <source>Change the addreseses before you click Modify.</source>
        <translation>Altere os endereços antes de clicar em Modificar.</translation>
    </message>
    <message>
        <source>&amp;DNS servers :</source>
        <translation>Servidores &amp;DNS:</translation>
    </message>
    <message>
        <source>Secondary DNS server</source>
        <translation>Servidor DNS secundário</translation>
    </message>
    <message>
        <source>&amp;Modify</source>
        <translation>&amp;Modificar</translation>
    </message>
    <message>
        <source>&amp;Keep Current</source>
        <translation>Manter &amp;atuais</translation>
    </message>
    <message>
        <source>KOVA Satellite IP Modem Upgrader</source>
        <translation>Atualizador do Modem IP via Satélite KOVA</translation>
    </message>
    <message>
        <source>IP Address:</source>
        <translation>Endereço IP:</translation>
    </message>
    <message>
        <source>New software version:</source>
        <translation>Nova versão do software:</translation>
    </message>
    <message>
        <source>Modem software version:</source>
        <translation>Versão do software do modem:</translation>
    </message>
    <message>
        <source>Connection to the Satellite IP Modem</source>
        <translation>Conexão com o Modem IP via Satélite</translation>
    </message>
    <message>
        <source>Automatic PIC upgrade</source>
        <translation>Atualização automática do PIC</translation>
    </message>
    <message>
        <source>&amp;Upgrade</source>
        <translation>A&amp;tualizar</translation>
    </message>
    <message>
        <source>Upgrade software</source>
        <translation>Atualizar o software</translation>
    </message>
    <message>
        <source>&amp;Restore</source>
        <translation>&amp;Restaurar</translation>
    </message>
    <message>
        <source>Restore original software</source>
        <translation>Restaurar o software original</translation>
    </message>
    <message>
        <source>&amp;PIC upgrade</source>
        <translation>Atualizar &amp;PIC</translation>
    </message>
    <message>
        <source>PIC upgrade without Software Upgrade</source>
        <translation>Atualização do PIC sem atualização do software</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Progresso</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Arquivo</translation>
    </message>
    <message>
        <source>&amp;Tools</source>
        <translation>&amp;Ferramentas</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>Aj&amp;uda</translation>
    </message>
    <message>
        <source>No PIC file to upgrade in this version.</source>
        <translation>Nenhum arquivo do PIC para atualizar nesta versão.</translation>
    </message>
    <message>
        <source> Satellite IP Modem Upgrader

  Upgrades and restores the software of the
  KOVA Satellite IP Modem and its PIC controller,
  and sets the modem&apos;s DNS and LAN addresses.

  Version 2.6 October 15, 2006</source>
        <translation> Atualizador do Modem IP via Satélite

  Atualiza e restaura o software do
  Modem IP via Satélite KOVA e de seu controlador PIC,
  e define os endereços DNS e LAN do modem.

  Versão 2.6, 15 de outubro de 2006</translation>
    </message>
    <message>
        <source>&amp;PicUpgrade</source>
        <translation>Atualizar &amp;PIC</translation>
    </message>
    <message>
        <source>&amp;DisableAutoPicUpgrade</source>
        <translation>&amp;Desativar atualização automática do PIC</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Sair</translation>
    </message>
    <message>
        <source>&amp;Configure Modem &amp;Interface</source>
        <translation>&amp;Configurar interface do modem</translation>
    </message>
    <message>
        <source>&amp;Get Software Version</source>
        <translation>&amp;Obter versão do software</translation>
    </message>
    <message>
        <source>&amp;Set DNS addresses</source>
        <translation>Definir endereços &amp;DNS</translation>
    </message>
    <message>
        <source>&amp;Reset Modem</source>
        <translation>&amp;Reiniciar modem</translation>
    </message>
    <message>
        <source>&amp;About Upgrader...</source>
        <translation>&amp;Sobre o Atualizador...</translation>
    </message>
    <message>
        <source>The upgrade history could not be written.
%1</source>
        <translation>Não foi possível gravar o histórico de atualizações.
%1</translation>
    </message>
    <message>
        <source>Please enter Satellite IP Modem&apos;s IP address.</source>
        <translation>Digite o endereço IP do Modem IP via Satélite.</translation>
    </message>
    <message>
        <source>Please enter Satellite IP Modem&apos;s IP Address.</source>
        <translation>Digite o endereço IP do Modem IP via Satélite.</translation>
    </message>
    <message>
        <source>Satellite IP Modem closed the connection. Connection lost.</source>
        <translation>O Modem IP via Satélite encerrou a conexão. Conexão perdida.</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Erro</translation>
    </message>
    <message>
        <source>Unable to get Satellite IP Modem&apos;s software version.

Upgrade process can be continued.</source>
        <translation>Não foi possível obter a versão do software do Modem IP via Satélite.

O processo de atualização pode continuar.</translation>
    </message>
    <message>
        <source>Unable to get Satellite IP Modem&apos;s software version.

Please check the cable connection.
Remove power and reapply power to the Satellite IP Modem.
Get software version using Tools menu before retrying.
Close and restart Upgrader if error repeats.</source>
        <translation>Não foi possível obter a versão do software do Modem IP via Satélite.

Verifique a conexão do cabo.
Desligue e religue a alimentação do Modem IP via Satélite.
Obtenha a versão do software pelo menu Ferramentas antes de tentar novamente.
Feche e reinicie o Atualizador se o erro se repetir.</translation>
    </message>
    <message>
        <source>FTP timeout.

Remove power and reapply power to the Satellite IP Modem.
Get software version using Tools menu before retrying.
Close and restart Upgrader if error repeats.</source>
        <translation>Tempo limite do FTP esgotado.

Desligue e religue a alimentação do Modem IP via Satélite.
Obtenha a versão do software pelo menu Ferramentas antes de tentar novamente.
Feche e reinicie o Atualizador se o erro se repetir.</translation>
    </message>
    <message>
        <source>FTP timeout.

Remove power and reapply power to the Satellite IP Modem.
Get software version using Tools menu before retrying.
Close and restart Upgrader if error repeats.
</source>
        <translation>Tempo limite do FTP esgotado.

Desligue e religue a alimentação do Modem IP via Satélite.
Obtenha a versão do software pelo menu Ferramentas antes de tentar novamente.
Feche e reinicie o Atualizador se o erro se repetir.
</translation>
    </message>
    <message>
        <source>FTP timeout.
Can not connect to the Satellite IP Modem.

Please check the cable connection.
Remove power and reapply power to the Satellite IP Modem.
Get software version using Tools menu before retrying.
Close and restart Upgrader if error repeats.</source>
        <translation>Tempo limite do FTP esgotado.
Não é possível conectar ao Modem IP via Satélite.

Verifique a conexão do cabo.
Desligue e religue a alimentação do Modem IP via Satélite.
Obtenha a versão do software pelo menu Ferramentas antes de tentar novamente.
Feche e reinicie o Atualizador se o erro se repetir.</translation>
    </message>
    <message>
        <source>Unable to reset Satellite IP Modem.

Remove power and reapply power to the Satellite IP Modem.</source>
        <translation>Não foi possível reiniciar o Modem IP via Satélite.

Desligue e religue a alimentação do Modem IP via Satélite.</translation>
    </message>
    <message>
        <source>An unexpected FTP error occurred. Operation cancelled.

Error Code:  %1 : %2</source>
        <translation>Ocorreu um erro inesperado de FTP. Operação cancelada.

Código do erro:  %1 : %2</translation>
    </message>
    <message>
        <source>An unexpected FTP error occurred.
Operation cancelled.

Error Code:  %1 : %2</source>
        <translation>Ocorreu um erro inesperado de FTP.
Operação cancelada.

Código do erro:  %1 : %2</translation>
    </message>
    <message>
        <source>Incorrect Username or Password!</source>
        <translation>Nome de usuário ou senha incorretos!</translation>
    </message>
    <message>
        <source>Can not connect to Satellite IP Modem. Please check cable connection and retry.</source>
        <translation>Não é possível conectar ao Modem IP via Satélite. Verifique a conexão do cabo e tente novamente.</translation>
    </message>
    <message>
        <source>Upgrade failed.  Click OK and close the upgrader.  Check connection before retrying upgrade.  Upgrader FTP state = %1</source>
        <translation>Falha na atualização. Clique em OK e feche o Atualizador. Verifique a conexão antes de tentar atualizar novamente. Estado FTP do Atualizador = %1</translation>
    </message>
    <message>
        <source>FTP connection was suddenly closed.

Remove power and reapply power to the Satellite IP Modem, then repeat last operation.</source>
        <translation>A conexão FTP foi encerrada repentinamente.

Desligue e religue a alimentação do Modem IP via Satélite e repita a última operação.</translation>
    </message>
    <message>
        <source>Upgrade failed. Click OK and close the upgrader.  Check connection before retrying upgrade.</source>
        <translation>Falha na atualização. Clique em OK e feche o Atualizador. Verifique a conexão antes de tentar atualizar novamente.</translation>
    </message>
    <message>
        <source>Upgrade failed.  Click OK and close the upgrader.  Turn the Satellite IP Modem off and on again before retrying upgrade.</source>
        <translation>Falha na atualização. Clique em OK e feche o Atualizador. Desligue e religue o Modem IP via Satélite antes de tentar atualizar novamente.</translation>
    </message>
    <message>
        <source>Syslog file downloading failed.  Click OK and close the upgrader.  Check connection before retrying.</source>
        <translation>Falha ao baixar o arquivo de syslog. Clique em OK e feche o Atualizador. Verifique a conexão antes de tentar novamente.</translation>
    </message>
    <message>
        <source>Reading the modem&apos;s image failed.</source>
        <translation>Falha ao ler a imagem do modem.</translation>
    </message>
    <message>
        <source>Can not send command to upgrade the PIC. 
Please check cable connections, remove and reapply power to the modem.
Repeat upgrade process.</source>
        <translation>Não é possível enviar o comando de atualização do PIC.
Verifique as conexões dos cabos e desligue e religue a alimentação do modem.
Repita o processo de atualização.</translation>
    </message>
    <message>
        <source>Telnet did not respond.
Please terminate any active Telnet connections.</source>
        <translation>O Telnet não respondeu.
Encerre todas as conexões Telnet ativas.</translation>
    </message>
    <message>
        <source>Upgrade Completed.
Click OK and wait until we get software version.</source>
        <translation>Atualização concluída.
Clique em OK e aguarde até que a versão do software seja obtida.</translation>
    </message>
    <message>
        <source>PIC Upgrade failed.  Click OK and try again.  If it fail again, call support.</source>
        <translation>Falha na atualização do PIC. Clique em OK e tente novamente. Se falhar de novo, entre em contato com o suporte.</translation>
    </message>
    <message>
        <source>The AT command could not be sent.
Please check cable connections.
Remove and reapply power to the modem.
Use Tool menu to check DNS addresses.</source>
        <translation>Não foi possível enviar o comando AT.
Verifique as conexões dos cabos.
Desligue e religue a alimentação do modem.
Use o menu Ferramentas para verificar os endereços DNS.</translation>
    </message>
    <message>
        <source>The modem did not answer the AT command.
Please check cable connections.
Remove and reapply power to the modem.
Use Tool menu to check DNS addresses.</source>
        <translation>O modem não respondeu ao comando AT.
Verifique as conexões dos cabos.
Desligue e religue a alimentação do modem.
Use o menu Ferramentas para verificar os endereços DNS.</translation>
    </message>
    <message>
        <source>The modem closed the AT connection without answering.
Please check cable connections.
Remove and reapply power to the modem.
Use Tool menu to check DNS addresses.</source>
        <translation>O modem encerrou a conexão AT sem responder.
Verifique as conexões dos cabos.
Desligue e religue a alimentação do modem.
Use o menu Ferramentas para verificar os endereços DNS.</translation>
    </message>
    <message>
        <source>The modem&apos;s answer to the AT command could not be read.
Please check cable connections.
Remove and reapply power to the modem.
Use Tool menu to check DNS addresses.</source>
        <translation>Não foi possível ler a resposta do modem ao comando AT.
Verifique as conexões dos cabos.
Desligue e religue a alimentação do modem.
Use o menu Ferramentas para verificar os endereços DNS.</translation>
    </message>
    <message>
        <source>Can&apos;t verify DNS address.

Check if SIM card is inserted correctly.
Reset Modem and repeat command.
</source>
        <translation>Não foi possível verificar o endereço DNS.

Verifique se o cartão SIM está inserido corretamente.
Reinicie o modem e repita o comando.
</translation>
    </message>
    <message>
        <source>Wrong DNS adress.
</source>
        <translation>Endereço DNS incorreto.
</translation>
    </message>
    <message>
        <source>Wrong DNS2 adress.
</source>
        <translation>Endereço DNS2 incorreto.
</translation>
    </message>
    <message>
        <source>Data arrival from AT in wrong state %1</source>
        <translation>Dados recebidos da interface AT no estado incorreto %1</translation>
    </message>
    <message>
        <source>Release Series conflict detected. Upgrade not possible.</source>
        <translation>Conflito de série de versões detectado. Não é possível atualizar.</translation>
    </message>
    <message>
        <source>We can&apos;t load this version because checksum file doesn&apos;t exist.</source>
        <translation>Não é possível carregar esta versão porque o arquivo de soma de verificação não existe.</translation>
    </message>
    <message>
        <source>No old versions are available.</source>
        <translation>Não há versões anteriores disponíveis.</translation>
    </message>
    <message>
        <source>We can&apos;t restore this version because checksum file doesn&apos;t exist.</source>
        <translation>Não é possível restaurar esta versão porque o arquivo de soma de verificação não existe.</translation>
    </message>
    <message>
        <source>Unable to find pic.hex in home directory %1.
Please copy PIC file in %1</source>
        <translation>Não foi possível encontrar pic.hex na pasta do programa %1.
Copie o arquivo do PIC para %1</translation>
    </message>
    <message>
        <source>The image %1 is empty: it would leave the modem without software. Nothing was sent to the modem.</source>
        <translation>A imagem %1 está vazia: ela deixaria o modem sem software. Nada foi enviado ao modem.</translation>
    </message>
    <message>
        <source>The file %1 cannot be read: %2.
Nothing was sent to the modem.</source>
        <translation>Não é possível ler o arquivo %1: %2.
Nada foi enviado ao modem.</translation>
    </message>
    <message>
        <source>The modem&apos;s file %1 came back empty, so its software could not be backed up.
The upgrade stopped before anything was sent to the modem.</source>
        <translation>O arquivo %1 do modem veio vazio, portanto não foi possível fazer o backup do software.
A atualização foi interrompida antes que qualquer coisa fosse enviada ao modem.</translation>
    </message>
    <message>
        <source>The backup of the modem&apos;s software could not be stored:
%1
The upgrade stopped before anything was sent to the modem.</source>
        <translation>Não foi possível armazenar o backup do software do modem:
%1
A atualização foi interrompida antes que qualquer coisa fosse enviada ao modem.</translation>
    </message>
    <message>
        <source>The backup folder was not free within 60 seconds: %1.
The upgrade stopped before anything was sent to the modem.</source>
        <translation>A pasta de backup não ficou livre em 60 segundos: %1.
A atualização foi interrompida antes que qualquer coisa fosse enviada ao modem.</translation>
    </message>
    <message>
        <source>CreatePipe failed. Error: %1</source>
        <translation>Falha em CreatePipe. Erro: %1</translation>
    </message>
    <message>
        <source>Command not found</source>
        <translation>Comando não encontrado</translation>
    </message>
    <message>
        <source>The command did not finish within a minute and was ended:
%1

The PC address was not changed.</source>
        <translation>O comando não terminou em um minuto e foi encerrado:
%1

O endereço do PC não foi alterado.</translation>
    </message>
    <message>
        <source>Please change your local IP address manually to 192.168.128.101</source>
        <translation>Altere manualmente o seu endereço IP local para 192.168.128.101</translation>
    </message>
    <message>
        <source>Wrong local IP address</source>
        <translation>Endereço IP local incorreto</translation>
    </message>
    <message>
        <source>No data moved between the PC and the modem for 65 seconds.</source>
        <translation>Nenhum dado trafegou entre o PC e o modem por 65 segundos.</translation>
    </message>
    <message>
        <source>The new software could not be written whole to the Satellite IP Modem at %1.
Its previous software %2 was put back and read back intact; the modem runs it as before.

Check the connection, then repeat the operation.</source>
        <translation>Não foi possível gravar o novo software por completo no Modem IP via Satélite em %1.
O software anterior %2 foi recolocado e relido intacto; o modem o executa como antes.

Verifique a conexão e repita a operação.</translation>
    </message>
    <message>
        <source>The software image on the Satellite IP Modem at %1 is incomplete: the transfer broke, and neither the new nor the previous software could be written whole.

Do not switch the modem off.
Repeat the operation as soon as the modem answers.</source>
        <translation>A imagem do software no Modem IP via Satélite em %1 está incompleta: a transferência foi interrompida e nem o software novo nem o anterior puderam ser gravados por completo.

Não desligue o modem.
Repita a operação assim que o modem responder.</translation>
    </message>
    <message>
        <source>The PIC file did not reach the modem intact (%1 read back differs from pic.hex). The PIC was not reflashed.
Repeat the PIC upgrade.</source>
        <translation>O arquivo do PIC não chegou intacto ao modem (o %1 relido difere de pic.hex). O PIC não foi regravado.
Repita a atualização do PIC.</translation>
    </message>
    <message>
        <source>An upload to the Satellite IP Modem at %1 began at %2 and never ended: the modem&apos;s software image may be incomplete.

Do not switch the modem off.
Click Upgrade to send the image again, or Restore to put an older version back.</source>
        <translation>Um envio ao Modem IP via Satélite em %1 começou em %2 e nunca terminou: a imagem do software do modem pode estar incompleta.

Não desligue o modem.
Clique em Atualizar para enviar a imagem novamente ou em Restaurar para recolocar uma versão anterior.</translation>
    </message>
    <message>
        <source>The Satellite IP Modem at %1 was not restarted: its software image is incomplete (an upload that began at %2 never ended), and it would not start again.

Upgrade it again, or restore an older version, before restarting it.</source>
        <translation>O Modem IP via Satélite em %1 não foi reiniciado: a imagem do software está incompleta (um envio iniciado em %2 nunca terminou) e ele não voltaria a iniciar.

Atualize-o novamente ou restaure uma versão anterior antes de reiniciá-lo.</translation>
    </message>
    <message>
        <source>Another process of this tool is working on the Satellite IP Modem at %1: %2.
Wait until it has finished, then try again.</source>
        <translation>Outro processo desta ferramenta está operando o Modem IP via Satélite em %1: %2.
Aguarde até que ele termine e tente novamente.</translation>
    </message>
    <message>
        <source>The new software is not installed: %1
Nothing was sent to the modem.</source>
        <translation>O novo software não foi instalado: %1
Nada foi enviado ao modem.</translation>
    </message>
    <message>
        <source>The backup is not restored: %1
Nothing was sent to the modem.</source>
        <translation>O backup não foi restaurado: %1
Nada foi enviado ao modem.</translation>
    </message>
    <message>
        <source>The modem reports version %1 after the upgrade, not %2.</source>
        <translation>Após a atualização, o modem informa a versão %1, e não %2.</translation>
    </message>
    <message>
        <source>The modem reports version %1 after the restore, not %2.</source>
        <translation>Após a restauração, o modem informa a versão %1, e não %2.</translation>
    </message>
    <message>
        <source>Can not connect to modem using existing PC address %1

Upgrader will set static IP address 192.168.128.101 for yor computer.

                 Do you want to proceed?</source>
        <translation>Não é possível conectar ao modem usando o endereço atual do PC %1

O Atualizador definirá o endereço IP estático 192.168.128.101 para o seu computador.

                 Deseja continuar?</translation>
    </message>
    <message>
        <source>The Satellite IP Modem at %1 did not answer as expected, and its software image is incomplete: an upload that began at %2 never ended.

Do not switch the modem off: it would not start again.
Check the cable connection. As soon as the modem answers, click Upgrade to send the image again, or Restore to put an older version back.</source>
        <translation>O Modem IP via Satélite em %1 não respondeu como esperado, e a imagem do seu software está incompleta: um envio que começou em %2 nunca terminou.

Não desligue o modem: ele não iniciaria novamente.
Verifique a conexão do cabo. Assim que o modem responder, clique em Atualizar para enviar a imagem novamente ou em Restaurar para recolocar uma versão anterior.</translation>
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
        <translation>%1, sem dados há %2 s</translation>
    </message>
    <message>
        <source>%1, %2 MiB/s</source>
        <translation>%1, %2 MiB/s</translation>
    </message>
    <message>
        <source>%1, %2 s left</source>
        <translation>%1, faltam %2 s</translation>
    </message>
    <message>
        <source>Modem restarting: its version is read again in %1 s.</source>
        <translation>Modem reiniciando: a versão será lida novamente em %1 s.</translation>
    </message>
    <message>
        <source>PIC reflash running for %1 s.</source>
        <translation>Regravação do PIC em andamento há %1 s.</translation>
    </message>
    <message>
        <source>%1 record waits for the records database, which cannot be reached (%2): they go when it answers.</source>
        <translation>%1 registro aguarda o banco de dados de registros, que está inacessível (%2): ele será enviado quando o banco responder.</translation>
    </message>
    <message>
        <source>%1 records wait for the records database, which cannot be reached (%2): they go when it answers.</source>
        <translation>%1 registros aguardam o banco de dados de registros, que está inacessível (%2): eles serão enviados quando o banco responder.</translation>
    </message>
    <message>
        <source>The records database answers again: the waiting records are in.</source>
        <translation>O banco de dados de registros voltou a responder: os registros pendentes foram gravados.</translation>
    </message>
    <message>
        <source>Cannot remove %1: %2</source>
        <translation>Não é possível remover %1: %2</translation>
    </message>
    <message>
        <source>Cannot write %1</source>
        <translation>Não é possível gravar %1</translation>
    </message>
    <message>
        <source>there is no folder for settings (HOME is not set)</source>
        <translation>não há pasta para as configurações (a variável HOME não está definida)</translation>
    </message>
    <message>
        <source>its name holds a line break</source>
        <translation>seu nome contém uma quebra de linha</translation>
    </message>
    <message>
        <source>it is not an absolute path</source>
        <translation>não é um caminho absoluto</translation>
    </message>
    <message>
        <source>cannot create the folder %1: %2</source>
        <translation>não é possível criar a pasta %1: %2</translation>
    </message>
    <message>
        <source>cannot write %1: %2</source>
        <translation>não é possível gravar %1: %2</translation>
    </message>
    <message>
        <source>Satellite IP Modem</source>
        <translation>Modem IP via Satélite</translation>
    </message>
    <message>
        <source>You already have the latest version of software.</source>
        <translation>Você já tem a versão mais recente do software.</translation>
    </message>
    <message>
        <source>If the Satellite IP Modem is not already connected to your PC, disconnect the dial-up or LAN connection and connect the Satellite IP Modem to your PC.</source>
        <translation>Se o Modem IP via Satélite ainda não estiver conectado ao seu PC, desative a conexão discada ou de rede local e conecte o Modem IP via Satélite ao seu PC.</translation>
    </message>
    <message>
        <source>&amp;Complete upgrade now</source>
        <translation>&amp;Concluir a atualização agora</translation>
    </message>
    <message>
        <source>Complete &amp;upgrade later</source>
        <translation>Concluir a atualização &amp;depois</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Unable to find upgrade program home directory %1.
Please install the upgrade program in this Computer.</source>
        <translation>Não foi possível encontrar a pasta do programa de atualização %1.
Instale o programa de atualização neste computador.</translation>
    </message>
    <message>
        <source>Unable to find the binary file %1kova_*.bin. 
Or there is more than one binary file in the application&apos;s home directory.
Please make sure there is and there is only one binary file in that directory.</source>
        <translation>Não foi possível encontrar o arquivo binário %1kova_*.bin.
Ou há mais de um arquivo binário na pasta do aplicativo.
Verifique se há um, e somente um, arquivo binário nessa pasta.</translation>
    </message>
    <message>
        <source>%1 cannot be used: a double quote or a control character in the name of the binary file or of its folder would break every transfer.
Please rename it.</source>
        <translation>%1 não pode ser usado: aspas duplas ou um caractere de controle no nome do arquivo binário ou da sua pasta interromperiam todas as transferências.
Renomeie-o.</translation>
    </message>
    <message>
        <source>Unable to create the backup directory %1.
The modem&apos;s software cannot be backed up before an upgrade.</source>
        <translation>Não foi possível criar a pasta de backup %1.
Não é possível fazer o backup do software do modem antes de uma atualização.</translation>
    </message>
    <message>
        <source>%1
Please replace or remove it.</source>
        <translation>%1
Substitua-o ou remova-o.</translation>
    </message>
    <message>
        <source>The new software %1 is refused: %2
Nothing will be sent to the modem.</source>
        <translation>O novo software %1 foi recusado: %2
Nada será enviado ao modem.</translation>
    </message>
    <message>
        <source>Choose the firmware folder (the one with kova_*.bin)</source>
        <translation>Escolha a pasta do firmware (a que contém kova_*.bin)</translation>
    </message>
    <message>
        <source>The firmware folder %1 could not be remembered for the next start: %2.</source>
        <translation>Não foi possível memorizar a pasta do firmware %1 para a próxima inicialização: %2.</translation>
    </message>
    <message>
        <source>There is no kova_*.bin in %1.
Please choose the folder that holds the new software image.</source>
        <translation>Não há kova_*.bin em %1.
Escolha a pasta que contém a nova imagem do software.</translation>
    </message>
    <message>
        <source>AT Error %1</source>
        <translation>Erro AT %1</translation>
    </message>
    <message>
        <source>AT Connecting .....</source>
        <translation>AT: conectando .....</translation>
    </message>
    <message>
        <source>Resetting modem. Wait 20 seconds.</source>
        <translation>Reiniciando o modem. Aguarde 20 segundos.</translation>
    </message>
    <message>
        <source>Connection failed.</source>
        <translation>Falha na conexão.</translation>
    </message>
    <message>
        <source>Sending AT command.</source>
        <translation>Enviando comando AT.</translation>
    </message>
    <message>
        <source>Configure Modem Interface</source>
        <translation>Configurar interface do modem</translation>
    </message>
    <message>
        <source>Enter IP address of the KOVA Terminal</source>
        <translation>Digite o endereço IP do terminal KOVA</translation>
    </message>
    <message>
        <source>Terminal &amp;IP:</source>
        <translation>&amp;IP do terminal:</translation>
    </message>
    <message>
        <source>.</source>
        <translation>.</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Fechar</translation>
    </message>
    <message>
        <source>&amp;Update</source>
        <translation>&amp;Atualizar</translation>
    </message>
    <message>
        <source>system error %1</source>
        <translation>erro do sistema %1</translation>
    </message>
    <message>
        <source>Cannot store %1: %2</source>
        <translation>Não é possível armazenar %1: %2</translation>
    </message>
    <message>
        <source>Cannot open %1: %2</source>
        <translation>Não é possível abrir %1: %2</translation>
    </message>
    <message>
        <source>Cannot sync %1: %2</source>
        <translation>Não é possível sincronizar %1: %2</translation>
    </message>
    <message>
        <source>Cannot lock %1: %2</source>
        <translation>Não é possível bloquear %1: %2</translation>
    </message>
    <message>
        <source>it is too long for a minisign public key</source>
        <translation>é grande demais para uma chave pública minisign</translation>
    </message>
    <message>
        <source>it is not a minisign public key (a comment line and one line of base64)</source>
        <translation>não é uma chave pública minisign (uma linha de comentário e uma linha em base64)</translation>
    </message>
    <message>
        <source>its key line is not the base64 of a minisign public key</source>
        <translation>sua linha de chave não é o base64 de uma chave pública minisign</translation>
    </message>
    <message>
        <source>it is not an Ed25519 key</source>
        <translation>não é uma chave Ed25519</translation>
    </message>
    <message>
        <source>it is too long for a minisign signature</source>
        <translation>é grande demais para uma assinatura minisign</translation>
    </message>
    <message>
        <source>it is not a minisign signature (four lines: a comment, the signature, &quot;trusted comment: &quot; and the comment&apos;s signature)</source>
        <translation>não é uma assinatura minisign (quatro linhas: um comentário, a assinatura, &quot;trusted comment: &quot; e a assinatura do comentário)</translation>
    </message>
    <message>
        <source>its signature line is not the base64 of a minisign signature</source>
        <translation>sua linha de assinatura não é o base64 de uma assinatura minisign</translation>
    </message>
    <message>
        <source>its signature is neither of minisign&apos;s Ed25519 forms</source>
        <translation>sua assinatura não está em nenhuma das formas Ed25519 do minisign</translation>
    </message>
    <message>
        <source>its trusted comment&apos;s signature is not the base64 of a signature</source>
        <translation>a assinatura do seu comentário confiável não é o base64 de uma assinatura</translation>
    </message>
    <message>
        <source>its trusted comment holds a control character</source>
        <translation>seu comentário confiável contém um caractere de controle</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>não é um arquivo comum</translation>
    </message>
    <message>
        <source>KOVA Upgrader</source>
        <translation>Atualizador KOVA</translation>
    </message>
    <message>
        <source>Satellite IP Modem Upgrader</source>
        <translation>Atualizador do Modem IP via Satélite</translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation>Desconhecida</translation>
    </message>
    <message>
        <source>Can not Connect to AT interface. 
Please check cable connections.
Remove and reapply power to the modem.
Repeat upgrade process.</source>
        <translation>Não é possível conectar à interface AT.
Verifique as conexões dos cabos.
Desligue e religue a alimentação do modem.
Repita o processo de atualização.</translation>
    </message>
    <message>
        <source>A DNS address may not contain a double quote, a line break, another control character or a character the modem&apos;s single-byte text cannot hold.</source>
        <translation>Um endereço DNS não pode conter aspas duplas, quebra de linha, outro caractere de controle nem um caractere que o texto de byte único do modem não consiga representar.</translation>
    </message>
    <message>
        <source>The trusted key %1 cannot be used: %2.</source>
        <translation>A chave confiável %1 não pode ser usada: %2.</translation>
    </message>
    <message>
        <source>The list of revoked keys %1 cannot be read: %2.</source>
        <translation>Não é possível ler a lista de chaves revogadas %1: %2.</translation>
    </message>
    <message>
        <source>The list of revoked keys %1 cannot be used: line %2 is not a key ID (hex digits, as minisign prints it).</source>
        <translation>A lista de chaves revogadas %1 não pode ser usada: a linha %2 não é um ID de chave (dígitos hex, como o minisign o exibe).</translation>
    </message>
    <message>
        <source>it is larger than %1 bytes</source>
        <translation>é maior que %1 bytes</translation>
    </message>
    <message>
        <source>The trusted-key folder %1 cannot be read: %2.</source>
        <translation>Não é possível ler a pasta de chaves confiáveis %1: %2.</translation>
    </message>
    <message>
        <source>Cannot use the history file %1: %2</source>
        <translation>Não é possível usar o arquivo de histórico %1: %2</translation>
    </message>
    <message>
        <source>Cannot open the history file %1: %2</source>
        <translation>Não é possível abrir o arquivo de histórico %1: %2</translation>
    </message>
    <message>
        <source>Cannot write the history file %1: %2</source>
        <translation>Não é possível gravar o arquivo de histórico %1: %2</translation>
    </message>
    <message>
        <source>Cannot write the history file %1: only %2 of %3 bytes were written</source>
        <translation>Não é possível gravar o arquivo de histórico %1: somente %2 de %3 bytes foram gravados</translation>
    </message>
    <message>
        <source>Cannot save the history file to disk %1: %2</source>
        <translation>Não é possível salvar no disco o arquivo de histórico %1: %2</translation>
    </message>
    <message>
        <source>Reset done. Wait .....</source>
        <translation>Reinicialização concluída. Aguarde .....</translation>
    </message>
    <message>
        <source>Trying to retrieve Satellite IP Modem software version...</source>
        <translation>Tentando obter a versão do software do Modem IP via Satélite...</translation>
    </message>
    <message>
        <source>Check Satellite IP Modem software version.</source>
        <translation>Verifique a versão do software do Modem IP via Satélite.</translation>
    </message>
    <message>
        <source>Software version was retrieved!</source>
        <translation>Versão do software obtida!</translation>
    </message>
    <message>
        <source>ZING Connection failed.</source>
        <translation>Falha na conexão ZING.</translation>
    </message>
    <message>
        <source>Connection succeed.</source>
        <translation>Conexão estabelecida.</translation>
    </message>
    <message>
        <source>the backup %1 was not taken by this tool: the history holds no record of it, and with a trusted key only recorded backups are restored.</source>
        <translation>o backup %1 não foi feito por esta ferramenta: o histórico não tem registro dele e, com uma chave confiável, somente backups registrados são restaurados.</translation>
    </message>
    <message>
        <source>the SHA-256 of %1 is %2; when it was kept on %3 it was %4.</source>
        <translation>o SHA-256 de %1 é %2; quando foi guardado em %3, era %4.</translation>
    </message>
    <message>
        <source>Successfully upgraded! Wait...</source>
        <translation>Atualizado com sucesso! Aguarde...</translation>
    </message>
    <message>
        <source>Upgrading Satellite IP Modem with version %1 ...</source>
        <translation>Atualizando o Modem IP via Satélite para a versão %1 ...</translation>
    </message>
    <message>
        <source>Uploading PIC software! Wait...</source>
        <translation>Enviando o software do PIC! Aguarde...</translation>
    </message>
    <message>
        <source>PIC successfully uploaded! Wait...</source>
        <translation>PIC enviado com sucesso! Aguarde...</translation>
    </message>
    <message>
        <source>Deleting config file</source>
        <translation>Excluindo o arquivo de configuração</translation>
    </message>
    <message>
        <source>Successfully restored! Wait...</source>
        <translation>Restaurado com sucesso! Aguarde...</translation>
    </message>
    <message>
        <source>Previous software put back. Wait...</source>
        <translation>Software anterior recolocado. Aguarde...</translation>
    </message>
    <message>
        <source>Putting back Satellite IP Modem software version %1 ...</source>
        <translation>Recolocando a versão %1 do software do Modem IP via Satélite ...</translation>
    </message>
    <message>
        <source>Log file doesn&apos;t exist.</source>
        <translation>O arquivo de log não existe.</translation>
    </message>
    <message>
        <source>Log downloaded</source>
        <translation>Log baixado</translation>
    </message>
    <message>
        <source>%1 lies beside the image but is not named in the manifest.</source>
        <translation>%1 está na mesma pasta que a imagem, mas não é citado no manifesto.</translation>
    </message>
    <message>
        <source>The manifest names %1 where %2 was expected.</source>
        <translation>O manifesto cita %1 onde era esperado %2.</translation>
    </message>
    <message>
        <source>The manifest names %1, which is missing.</source>
        <translation>O manifesto cita %1, que está ausente.</translation>
    </message>
    <message>
        <source>%1 has %2 bytes; the manifest says %3.</source>
        <translation>%1 tem %2 bytes; o manifesto indica %3.</translation>
    </message>
    <message>
        <source>%1 cannot be read.</source>
        <translation>Não é possível ler %1.</translation>
    </message>
    <message>
        <source>The SHA-256 of %1 is %2; the manifest says %3.</source>
        <translation>O SHA-256 de %1 é %2; o manifesto indica %3.</translation>
    </message>
    <message>
        <source>The release has no usable manifest %1 (%2): with a trusted key, only a signed release is installed.</source>
        <translation>A versão não tem um manifesto %1 utilizável (%2): com uma chave confiável, somente uma versão assinada é instalada.</translation>
    </message>
    <message>
        <source>The manifest&apos;s signature %1 cannot be read (%2): with a trusted key, only a signed release is installed.</source>
        <translation>Não é possível ler a assinatura %1 do manifesto (%2): com uma chave confiável, somente uma versão assinada é instalada.</translation>
    </message>
    <message>
        <source>The signature %1 is damaged: %2.</source>
        <translation>A assinatura %1 está danificada: %2.</translation>
    </message>
    <message>
        <source>The release is signed with the key %1, which is not trusted.</source>
        <translation>A versão está assinada com a chave %1, que não é confiável.</translation>
    </message>
    <message>
        <source>The release is signed with the key %1, which is revoked.</source>
        <translation>A versão está assinada com a chave %1, que foi revogada.</translation>
    </message>
    <message>
        <source>The signature %1 does not match %2: the manifest or its signature was changed.</source>
        <translation>A assinatura %1 não corresponde a %2: o manifesto ou a sua assinatura foi modificado.</translation>
    </message>
    <message>
        <source>The trusted comment of %1 does not match its signature: it was changed.</source>
        <translation>O comentário confiável de %1 não corresponde à sua assinatura: ele foi modificado.</translation>
    </message>
    <message>
        <source>The manifest %1 cannot be used: %2.</source>
        <translation>O manifesto %1 não pode ser usado: %2.</translation>
    </message>
    <message>
        <source>The manifest is for version %1, the image is %2.</source>
        <translation>O manifesto é da versão %1; a imagem é da versão %2.</translation>
    </message>
    <message>
        <source>signed by %1</source>
        <translation>assinado por %1</translation>
    </message>
    <message>
        <source>not signed</source>
        <translation>não assinado</translation>
    </message>
    <message>
        <source>refused</source>
        <translation>recusado</translation>
    </message>
    <message>
        <source>%1 holds &quot;%2&quot;, which this tool does not know</source>
        <translation>%1 contém &quot;%2&quot;, que esta ferramenta não reconhece</translation>
    </message>
    <message>
        <source>%1 has no &quot;%2&quot;</source>
        <translation>%1 não tem &quot;%2&quot;</translation>
    </message>
    <message>
        <source>%1&apos;s &quot;%2&quot; is not a text</source>
        <translation>%1 tem um &quot;%2&quot; que não é um texto</translation>
    </message>
    <message>
        <source>%1 is not an object</source>
        <translation>%1 não é um objeto</translation>
    </message>
    <message>
        <source>%1&apos;s &quot;sha256&quot; is not 64 lower-case hex digits</source>
        <translation>%1 tem um &quot;sha256&quot; que não é formado por 64 dígitos hex minúsculos</translation>
    </message>
    <message>
        <source>%1&apos;s &quot;name&quot; is not a file name</source>
        <translation>%1 tem um &quot;name&quot; que não é um nome de arquivo</translation>
    </message>
    <message>
        <source>%1&apos;s &quot;size&quot; is not a number of bytes</source>
        <translation>%1 tem um &quot;size&quot; que não é um número de bytes</translation>
    </message>
    <message>
        <source>it is not a JSON object</source>
        <translation>não é um objeto JSON</translation>
    </message>
    <message>
        <source>the manifest</source>
        <translation>o manifesto</translation>
    </message>
    <message>
        <source>its &quot;version&quot; is not a version</source>
        <translation>seu &quot;version&quot; não é uma versão</translation>
    </message>
    <message>
        <source>%1&apos;s &quot;%2&quot; is not a version</source>
        <translation>%1 tem um &quot;%2&quot; que não é uma versão</translation>
    </message>
    <message>
        <source>series %1, version %2 or later</source>
        <translation>série %1, versão %2 ou posterior</translation>
    </message>
    <message>
        <source>series %1</source>
        <translation>série %1</translation>
    </message>
    <message>
        <source>version %1 or later</source>
        <translation>versão %1 ou posterior</translation>
    </message>
    <message>
        <source>Version %1 may only be installed over %2; the modem&apos;s running version is not known.</source>
        <translation>A versão %1 só pode ser instalada sobre %2; a versão em execução no modem é desconhecida.</translation>
    </message>
    <message>
        <source>Version %1 may only be installed over %2; the modem runs %3.</source>
        <translation>A versão %1 só pode ser instalada sobre %2; o modem executa a versão %3.</translation>
    </message>
    <message>
        <source>Restore Satellite IP Modem Software</source>
        <translation>Restaurar o software do Modem IP via Satélite</translation>
    </message>
    <message>
        <source>Select an old software version to restore:</source>
        <translation>Selecione uma versão anterior do software para restaurar:</translation>
    </message>
    <message>
        <source>The modem&apos;s configuration will be reset to defaults.</source>
        <translation>A configuração do modem será redefinida para os valores padrão.</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Changing local address to 192.168.128.101. Wait ...</source>
        <translation>Alterando o endereço local para 192.168.128.101. Aguarde ...</translation>
    </message>
    <message>
        <source>No Local Area network connection found. The PC address was not changed.</source>
        <translation>Nenhuma conexão de rede local encontrada. O endereço do PC não foi alterado.</translation>
    </message>
    <message>
        <source>The PC address was not changed.</source>
        <translation>O endereço do PC não foi alterado.</translation>
    </message>
    <message>
        <source>Restoring DHCP for Local Area Connection. Wait....</source>
        <translation>Restaurando o DHCP da conexão de rede local. Aguarde....</translation>
    </message>
    <message>
        <source>Can&apos;t Get local IP</source>
        <translation>Não foi possível obter o IP local</translation>
    </message>
    <message>
        <source>Can&apos;t Get new local IP</source>
        <translation>Não foi possível obter o novo IP local</translation>
    </message>
    <message>
        <source>Failure</source>
        <translation>Falha</translation>
    </message>
    <message>
        <source>Downloading Log</source>
        <translation>Baixando o log</translation>
    </message>
    <message>
        <source>Log not downloaded: %1 is from an earlier download.</source>
        <translation>Log não baixado: %1 é de um download anterior.</translation>
    </message>
    <message>
        <source>Waiting for the modem to come back...</source>
        <translation>Aguardando o modem voltar...</translation>
    </message>
    <message>
        <source>Resetting Satellite IP Modem...</source>
        <translation>Reiniciando o Modem IP via Satélite...</translation>
    </message>
    <message>
        <source>Restore stopped: no software version within 30 seconds.</source>
        <translation>Restauração interrompida: nenhuma versão de software em 30 segundos.</translation>
    </message>
    <message>
        <source>Preparing for Software Restore with version %1 ...</source>
        <translation>Preparando a restauração do software com a versão %1 ...</translation>
    </message>
    <message>
        <source>Restoring Satellite IP Modem with version %1 ...</source>
        <translation>Restaurando o Modem IP via Satélite com a versão %1 ...</translation>
    </message>
    <message>
        <source>No answer to the prepare command; going on without it.</source>
        <translation>Sem resposta ao comando de preparação; continuando sem ele.</translation>
    </message>
    <message>
        <source>Verifying the software stored on the Satellite IP Modem...</source>
        <translation>Verificando o software armazenado no Modem IP via Satélite...</translation>
    </message>
    <message>
        <source>The transfer did not arrive whole; sending it again (attempt %1 of %2)...</source>
        <translation>A transferência não chegou completa; enviando novamente (tentativa %1 de %2)...</translation>
    </message>
    <message>
        <source>The new software could not be written whole; putting back version %1...</source>
        <translation>Não foi possível gravar o novo software por completo; recolocando a versão %1...</translation>
    </message>
    <message>
        <source>Upgrade stopped: no software version within 30 seconds.</source>
        <translation>Atualização interrompida: nenhuma versão de software em 30 segundos.</translation>
    </message>
    <message>
        <source>Cannot create a file in %1: %2</source>
        <translation>Não é possível criar um arquivo em %1: %2</translation>
    </message>
    <message>
        <source>Preparing for Upgrade with version %1 ...</source>
        <translation>Preparando a atualização para a versão %1 ...</translation>
    </message>
    <message>
        <source>Upgrade refused: the release did not pass its checks.</source>
        <translation>Atualização recusada: a versão não passou nas verificações.</translation>
    </message>
    <message>
        <source>Downloading Satellite IP Modem software to PC...</source>
        <translation>Baixando o software do Modem IP via Satélite para o PC...</translation>
    </message>
    <message>
        <source>another process holds it</source>
        <translation>outro processo a está usando</translation>
    </message>
    <message>
        <source>Waiting for the backup folder: %1</source>
        <translation>Aguardando a pasta de backup: %1</translation>
    </message>
    <message>
        <source>Reading the modem&apos;s image...</source>
        <translation>Lendo a imagem do modem...</translation>
    </message>
    <message>
        <source>The modem&apos;s file %1 is larger than %2 MiB, the space left on the disk: it was not downloaded.</source>
        <translation>O arquivo %1 do modem tem mais de %2 MiB, o espaço livre no disco: ele não foi baixado.</translation>
    </message>
    <message>
        <source>The modem&apos;s file %1 is larger than %2 MiB, more than a modem image or log can be: it was not downloaded.</source>
        <translation>O arquivo %1 do modem tem mais de %2 MiB, mais do que uma imagem ou um log do modem pode ter: ele não foi baixado.</translation>
    </message>
    <message>
        <source>Cannot write local file %1: %2</source>
        <translation>Não é possível gravar o arquivo local %1: %2</translation>
    </message>
    <message>
        <source>Cannot open local file %1: %2</source>
        <translation>Não é possível abrir o arquivo local %1: %2</translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation>não é um arquivo comum</translation>
    </message>
    <message>
        <source>Cannot create local file %1: %2</source>
        <translation>Não é possível criar o arquivo local %1: %2</translation>
    </message>
    <message>
        <source>not a file name</source>
        <translation>não é um nome de arquivo</translation>
    </message>
    <message>
        <source>Cannot store local file %1: %2</source>
        <translation>Não é possível armazenar o arquivo local %1: %2</translation>
    </message>
    <message>
        <source>The operation timed out: %1</source>
        <translation>O tempo da operação se esgotou: %1</translation>
    </message>
    <message>
        <source>Cannot read local file %1: %2</source>
        <translation>Não é possível ler o arquivo local %1: %2</translation>
    </message>
    <message>
        <source>red</source>
        <translation>vermelho</translation>
    </message>
    <message>
        <source>green</source>
        <translation>verde</translation>
    </message>
    <message>
        <source>FTP Timeout. Checking connection.....</source>
        <translation>Tempo limite do FTP esgotado. Verificando a conexão.....</translation>
    </message>
    <message>
        <source>Timer expired. Checking connection....</source>
        <translation>Temporizador expirado. Verificando a conexão....</translation>
    </message>
    <message>
        <source>Connecting .....</source>
        <translation>Conectando .....</translation>
    </message>
    <message>
        <source>Sending PIC reflash command.</source>
        <translation>Enviando o comando de regravação do PIC.</translation>
    </message>
    <message>
        <source>Command failed.</source>
        <translation>Falha no comando.</translation>
    </message>
    <message>
        <source>PIC reflashing.... Wait up to 1 minute.   DO NOT INTERRUPT</source>
        <translation>Regravando o PIC.... Aguarde até 1 minuto.   NÃO INTERROMPA</translation>
    </message>
    <message>
        <source>PIC reflash completed. Wait for restart...</source>
        <translation>Regravação do PIC concluída. Aguarde a reinicialização...</translation>
    </message>
    <message>
        <source>Telnet Error %1</source>
        <translation>Erro de Telnet %1</translation>
    </message>
    <message>
        <source>Telnet connection closed by the modem.</source>
        <translation>Conexão Telnet encerrada pelo modem.</translation>
    </message>
    <message>
        <source>No telnet prompt from the modem within %1 seconds.</source>
        <translation>Nenhum prompt de Telnet do modem em %1 segundos.</translation>
    </message>
    <message>
        <source>No answer to the prepare command within %1 seconds.</source>
        <translation>Nenhuma resposta ao comando de preparação em %1 segundos.</translation>
    </message>
</context>
</TS>
